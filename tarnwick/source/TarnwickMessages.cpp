// The manager dialog's messages: drops onto the held tree, the tree's actions and redraws, the
// cursor over the column split, the end of each interaction, document changes, closing.
#include "ElementSearch.h"
#include "Tarnwick.h"
#include "TarnwickIds.h"
#include "hostapi/thread.h"

namespace
{

// Two tags count as one in the tag strip when they are the same tag, or texture tags of the same
// material.
bool SameStripTag(BaseTag* a, BaseTag* b)
{
	if (a == b)
		return true;
	if (a->IsInstanceOf(Ttexture) && b->IsInstanceOf(Ttexture))
	{
		BaseMaterial* ma = static_cast<TextureTag*>(a)->GetMaterial();
		return ma && ma == static_cast<TextureTag*>(b)->GetMaterial();
	}
	return false;
}

constexpr Int32 SPLIT_CATCH = 5;

} // namespace

bool Tarnwick::CoreMessage(Int32 id, const BaseContainer& msg)
{
	// A document change the host cannot confirm is ignored: the held list is rebuilt only for one
	// that really happened.
	if (id == EVMSG_CHANGE && CheckCoreMessage(msg))
	{
		if (GetActiveDocument())
			model.Refresh();
		model.ResolveSets();
		RefreshHeldTree();
		ApplyEnableRules();
	}
	return SingleManagerBase::CoreMessage(id, msg);
}

void Tarnwick::DropOnHeldTree(const BaseContainer& msg)
{
	if (CheckDropArea(IDC_HELD_TREE, msg, true, true) && !_ownDrag)
	{
		Int32 type = 0;
		void* object = nullptr;
		if (GetDragObject(msg, &type, &object) && type == DRAGTYPE_ATOMARRAY && object)
		{
			auto* elements = static_cast<AtomArray*>(object);
			if (elements->GetCount() > 0)
			{
				model.AddElements(*elements);
				RefreshHeldTree();
			}
		}
	}
	_ownDrag = 0;
}

void Tarnwick::CursorInfo(BaseContainer& result)
{
	if (model.heldPool.IsEmpty() || !_heldTree)
		return;
	BaseContainer state;
	if (!GetInputState(BFM_INPUT_MOUSE, BFM_INPUT_MOUSELEFT, state) || state.GetInt32(BFM_INPUT_VALUE) != 0)
		return;
	Int32 tx = 0, ty = 0, tw = 0, th = 0;
	GetItemDim(IDC_HELD_TREE, &tx, &ty, &tw, &th);
	const Int32 mouseX = static_cast<Int32>(state.GetFloat(BFM_INPUT_X)) - tx;
	// The host's tree puts its columns edge to edge, so the tag column (whose icons begin 4 pixels
	// in) starts where the widths before it end; that is where the name column can be dragged wider.
	const Int32 split = _heldTree->GetColumnWidth(COL_NAME) + _heldTree->GetColumnWidth(COL_LAYER) +
		_heldTree->GetColumnWidth(COL_VISIBILITY) + _heldTree->GetColumnWidth(COL_ENABLE) + _heldTree->GetColumnWidth(105);
	const bool near = mouseX >= split - SPLIT_CATCH && mouseX <= split + SPLIT_CATCH;
	result.SetInt32(RESULT_CURSOR, near ? Int32(MOUSE_SPLINE_HORIZONTAL) : Int32(MOUSE_NORMAL));
	_splitDrag = near;
	heldFunctions.trackDrag = near ? 1 : 0;
	if (near)
		_splitStartWidth = _heldTree->GetColumnWidth(COL_NAME);
	heldFunctions.tagColumnOrigin = split + 4;
}

void Tarnwick::CollectTags()
{
	std::vector<BaseTag*> tags;
	ForEachEntry(model.FirstHeld(), [&](PNode* entry) {
		BaseList2D* element = entry->selected ? entry->Resolve() : nullptr;
		if (!IsObjectElement(element))
			return true;
		for (BaseTag* tag = static_cast<BaseObject*>(element)->GetFirstTag(); tag; tag = tag->GetNext())
		{
			if (tag->GetInfo() == 0)
				continue;
			bool known = false;
			for (BaseTag* have : tags)
				known = known || SameStripTag(have, tag);
			if (!known)
				tags.push_back(tag);
		}
		return true;
	});
	tagStrip.SetTags(tags);
	tagStrip.Redraw();
}

void Tarnwick::InteractionEnd()
{
	CollectTags();
	DrawViews(0);
}

Int32 Tarnwick::Message(const BaseContainer& msg, BaseContainer& result)
{
	switch (msg.GetId())
	{
		case BFM_DRAGRECEIVE:
			if (msg.GetInt32(BFM_DRAG_FINISHED) != 0 && HeldPageShown())
				DropOnHeldTree(msg);
			break;
		case BFM_ACTION:
			if (_heldTree && msg.GetInt32(BFM_ACTION_ID) == IDC_HELD_TREE)
			{
				// Only the actions the tree sends while its drag lasts move the split; the tree's
				// action after any other change must not put the width back.
				if (_splitDrag && msg.GetInt32(BFM_ACTION_INDRAG) != 0)
				{
					_heldTree->SetColumnWidth(COL_NAME, _splitStartWidth + _dragDistance);
					_dragDistance = 0;
				}
				model.Refresh();
				RefreshHeldTree();
				if (_changeMarker != -1)
				{
					model.UpdateCurrentSet();
					_changeMarker = -1;
				}
			}
			break;
		case BFM_DRAW:
			heldFunctions.TakeMetrics(nullptr);
			RefreshHeldTree();
			break;
		case BFM_GETCURSORINFO:
			CursorInfo(result);
			break;
		case BFM_INTERACTEND:
			InteractionEnd();
			break;
		default:
			break;
	}
	return SingleManagerBase::Message(msg, result);
}

bool Tarnwick::AskClose()
{
	return false;
}

void Tarnwick::DestroyWindow()
{
	model.heldPool.Clear();
	_heldTree = nullptr;
	_placementTree = nullptr;
	_tabs = nullptr;
}
