#include "ListDialog.h"

#include "ManagerModel.h"
#include "TarnwickIds.h"
#include "hostapi/resource.h"

namespace
{

constexpr Int32 NAME_COLUMN = HostFourCC("Name");
// A button held down longer than this many polls is taken as released; the host never keeps the
// dialog waiting for ever.
constexpr Int32 MAX_BUTTON_POLLS = 1000000;

bool AddRow(SimpleListView& list, Int32 id, const String& text)
{
	BaseContainer row;
	row.SetString(NAME_COLUMN, text);
	return list.SetItem(id, row);
}

} // namespace

void ListDialog::Fill(const SetStore& store, ManagerModel* model, Int32 currentSet)
{
	_sets.clear();
	for (Int32 i = 0; i < store.GetCount(); ++i)
	{
		const ObjectSet* set = store.Get(i);
		std::vector<const SetItem*> members;
		for (Int32 m = 0; set && m < set->GetCount(); ++m)
			members.push_back(set->Get(m));
		_sets.push_back(std::move(members));
	}
	_model = model;
	_currentSet = currentSet;
	_list.DataChanged();
}

bool ListDialog::CreateLayout()
{
	SetTitle(String("Sets"));
	GroupBegin(0, BFH_SCALEFIT | BFV_SCALEFIT, 1, 0, String(), 0);
	GroupBorderSpace(5, 5, 5, 5);
	AddButton(IDC_LIST_CLOSE, BFH_LEFT, 100, 10, String("Close"));
	AddListView(IDC_SET_ROWS, BFH_SCALEFIT | BFV_SCALEFIT, 0, 0);
	GroupEnd();
	return _list.AttachListView(this, IDC_SET_ROWS);
}

bool ListDialog::InitValues()
{
	for (Int32 id = 0; id <= _highestSetRow; ++id)
		_list.RemoveItem(id);
	for (Int32 id = -1; id >= _lowestMemberRow; --id)
		_list.RemoveItem(id);
	_list.DataChanged();
	BaseContainer layout;
	layout.SetInt32(NAME_COLUMN, LV_COLUMN_TEXT);
	_list.SetLayout(1, layout);

	AddRow(_list, 0, GeLoadString(STR_NO_SET));
	_highestSetRow = 0;
	_lowestMemberRow = 0;
	Int32 memberRow = 0;
	for (size_t s = 0; s < _sets.size(); ++s)
	{
		const std::vector<const SetItem*>& members = _sets[s];
		if (members.empty())
			continue;
		const Int32 number = static_cast<Int32>(s) + 1;
		AddRow(_list, number, members.front()->setName);
		_highestSetRow = number;
		for (const SetItem* member : members)
		{
			// Members gone from the scene get no row; their set still shows until it is pruned.
			BaseList2D* element = member->Resolve();
			if (!element)
				continue;
			AddRow(_list, --memberRow, String("     ") + element->GetName());
		}
	}
	_lowestMemberRow = memberRow;
	_list.DataChanged();
	// The members were read for the rows; nothing keeps them beyond that.
	_sets.clear();
	return true;
}

bool ListDialog::Command(Int32 id, const BaseContainer& msg)
{
	if (id == IDC_SET_ROWS && msg.GetInt32(BFM_ACTION_VALUE) == LV_SIMPLE_SELECTIONCHANGED)
	{
		// Member rows (negative) load nothing; a set row loads its set, row 0 none.
		const Int32 row = msg.GetInt32(LV_SIMPLE_ITEM_ID);
		if (row >= 0 && _model)
			_model->LoadSet(row);
	}
	else if (id == IDC_LIST_CLOSE)
		Close(true);
	return true;
}

Int32 ListDialog::Message(const BaseContainer& msg, BaseContainer& result)
{
	if (msg.GetId() == BFM_INPUT && msg.GetInt32(BFM_INPUT_DEVICE) == BFM_INPUT_MOUSE && msg.GetInt32(BFM_INPUT_CHANNEL) == BFM_INPUT_MOUSELEFT)
	{
		// A press on the dialog itself: wait for the button to come up, then drop what queued
		// behind it.
		BaseContainer state;
		for (Int32 poll = 0; poll < MAX_BUTTON_POLLS; ++poll)
			if (!GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state) || state.GetInt32(BFM_INPUT_VALUE) == 0)
				break;
		KillEvents();
		return true;
	}
	return GeModalDialog::Message(msg, result);
}

void ListDialog::DestroyWindow()
{
	_sets.clear();
}
