// What each gadget of the manager dialog starts. Every command reports itself handled.
#include "Tarnwick.h"
#include "TarnwickIds.h"
#include "TarnwickPaths.h"

namespace
{

// Where the set list opens: below the set button, in the dialog's own pixels.
constexpr Int32 SET_LIST_X = 162;
constexpr Int32 SET_LIST_Y = 27;
constexpr Int32 SET_LIST_W = 200;
constexpr Int32 SET_LIST_H = 400;

} // namespace

void Tarnwick::OpenSetList()
{
	setList.Fill(model.sets, &model, model.currentSet);
	Int32 x = SET_LIST_X, y = SET_LIST_Y;
	Local2Screen(&x, &y);
	setList.Open(x, y, SET_LIST_W, SET_LIST_H);
}

bool Tarnwick::Command(Int32 id, const BaseContainer& msg)
{
	(void)msg;
	switch (id)
	{
		case IDC_LINK_FOLDING:
		{
			bool link = true;
			GetBool(IDC_LINK_FOLDING, link);
			heldFunctions.syncFold = link ? 1 : 0;
			Command(IDC_FOLD_MANAGER, msg);
			ApplyEnableRules();
			break;
		}
		case IDC_SYNC_SELECTION:
		{
			bool sync = true;
			GetBool(IDC_SYNC_SELECTION, sync);
			heldFunctions.syncSelection = sync ? 1 : 0;
			break;
		}
		case IDC_FOLD_MANAGER:
		{
			Int32 choice = IDC_OM1;
			GetInt32(IDC_FOLD_MANAGER, choice);
			heldFunctions.foldBit = choice == IDC_OM1 ? NBIT_OM1_FOLD
				: choice == IDC_OM2 ? NBIT_OM2_FOLD
				: choice == IDC_OM3 ? NBIT_OM3_FOLD
				: NBIT_OM4_FOLD;
			model.foldBit = heldFunctions.foldBit;
			break;
		}
		case IDC_SAVE_SET:
		{
			bool written = false;
			// The set is made and current, but unless a save reaches the file it ends with this run:
			// the user is told at once, not only on the console.
			if (model.SaveAsNewSet(&written) && !written)
				MessageDialog(String("The set \"") + model.setCaption + "\" could not be written to the set file " +
					TarnwickFilePlace(SET_FILE_NAME).GetString() +
					"; unless a later save reaches the file, it is lost when the host quits.");
			ApplyEnableRules();
			break;
		}
		case IDC_DELETE_SET:
			model.RemoveCurrentSet();
			ApplyEnableRules();
			break;
		case IDC_SET_LIST:
			OpenSetList();
			// The placement page's matrix kind follows, as after its own radio group.
			Command(IDC_MATRIX_KIND, msg);
			break;
		case IDC_APPLY_POSITION:
		case IDC_APPLY_ROTATION:
		case IDC_APPLY_SCALE:
		case IDC_MIRROR_REFERENCE:
		case IDC_TABS:
			ApplyEnableRules();
			break;
		case IDC_MIRROR_PLANE:
		case IDC_MIRROR_PREVIEW:
			DrawViews(0);
			break;
		default:
			break;
	}
	return true;
}
