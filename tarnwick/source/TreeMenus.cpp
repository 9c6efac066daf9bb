// The held tree's menus: the layer popup of column 101 and the context menu with its fold, select
// and remove commands.
#include <vector>

#include "ElementSearch.h"
#include "MyTreeViewFunctions.h"

namespace
{

enum : Int32
{
	MENU_UNFOLD_UNDER = 900010,
	MENU_FOLD_UNDER = 900011,
	MENU_UNFOLD_ALL = 900012,
	MENU_FOLD_ALL = 900013,
	MENU_SELECT = 900014,
	MENU_REMOVE = 900000,
	MENU_REMOVE_ALL = 900001,
	FIRST_LAYER_ITEM = 1000,
	LAYER_MANAGER_COMMAND = 100004704,
};

// Every layer of the document, depth first in host order, without recursion.
std::vector<BaseList2D*> Layers(BaseDocument* doc)
{
	std::vector<BaseList2D*> out;
	GeListNode* node = doc ? doc->GetFirstLayer() : nullptr;
	while (node)
	{
		out.push_back(static_cast<BaseList2D*>(node));
		if (GeListNode* down = node->GetDown())
		{
			node = down;
			continue;
		}
		while (node && !node->GetNext())
			node = node->GetUp();
		if (node)
			node = node->GetNext();
	}
	return out;
}

BaseList2D* LayerOf(BaseList2D* element)
{
	if (IsObjectElement(element))
		return static_cast<BaseObject*>(element)->GetLayerObject();
	if (IsMaterialElement(element))
		return static_cast<BaseMaterial*>(element)->GetLayerObject();
	return nullptr;
}

void AssignLayer(BaseList2D* element, BaseList2D* layer)
{
	if (IsObjectElement(element))
		static_cast<BaseObject*>(element)->SetLayerObject(layer);
	else if (IsMaterialElement(element))
		static_cast<BaseMaterial*>(element)->SetLayerObject(layer);
}

PNode* Entry(void* obj) { return static_cast<PNode*>(obj); }

} // namespace

void MyTreeViewFunctions::LayerPopup(PNode* entry, Int32 x, Int32 y)
{
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return;
	const std::vector<BaseList2D*> layers = Layers(doc);
	const bool hasLayers = !layers.empty();
	const Int32 idNew = hasLayers ? 900011 : 900010;
	const Int32 idRemove = hasLayers ? 900012 : 0;
	const Int32 idManager = hasLayers ? 900013 : 900011;
	const Int32 idSelect = hasLayers ? 900014 : 900012;
	BaseContainer menu;
	if (hasLayers)
	{
		BaseContainer sub;
		sub.SetString(MENURESOURCE_SUBTITLE, String("Add to Layer"));
		for (size_t i = 0; i < layers.size(); ++i)
			sub.SetString(FIRST_LAYER_ITEM + static_cast<Int32>(i), layers[i]->GetName());
		menu.SetContainer(900010, sub);
	}
	menu.SetString(idNew, String("Add to New Layer"));
	if (hasLayers)
		menu.SetString(idRemove, String("Remove from Layer"));
	menu.SetString(idManager, String("Layer Manager..."));
	menu.SetString(idSelect, String("Select Layer"));

	const Int32 chosen = ShowPopupMenu(popupOwner, x, y, menu, POPUP_EXECUTECOMMANDS | POPUP_RIGHT);
	if (chosen == 0)
		return;
	// The menu was a wait for the user: the element and the layers are looked up again.
	BaseList2D* element = entry->Resolve();
	if (!element)
		return;
	const std::vector<BaseList2D*> now = Layers(doc);
	if (hasLayers && chosen >= FIRST_LAYER_ITEM && chosen < FIRST_LAYER_ITEM + static_cast<Int32>(now.size()))
	{
		doc->StartUndo();
		doc->AddUndo(UNDOTYPE_CHANGE, element);
		AssignLayer(element, now[chosen - FIRST_LAYER_ITEM]);
		doc->EndUndo();
	}
	else if (chosen == idNew)
	{
		LayerObject* layer = LayerObject::Alloc();
		if (!layer)
			return;
		BaseList2D* last = nullptr;
		for (GeListNode* l = doc->GetFirstLayer(); l; l = l->GetNext())
			last = static_cast<BaseList2D*>(l);
		doc->InsertLayer(layer, nullptr, last);
		AssignLayer(element, layer);
		doc->Message(MSG_UPDATE);
	}
	else if (hasLayers && chosen == idRemove)
	{
		doc->StartUndo();
		doc->AddUndo(UNDOTYPE_CHANGE, element);
		AssignLayer(element, nullptr);
		doc->EndUndo();
		doc->Message(MSG_UPDATE);
		EventAdd();
	}
	else if (chosen == idManager)
		CallCommand(LAYER_MANAGER_COMMAND);
	else if (chosen == idSelect)
	{
		for (BaseList2D* layer : now)
			layer->DelBit(1u << NBIT_ACTIVE);
		if (BaseList2D* layer = LayerOf(element))
			layer->SetBit(1u << NBIT_ACTIVE);
	}
}

void MyTreeViewFunctions::SetOpened(PNode* entry, bool open)
{
	entry->opened = open ? 1 : 0;
	BaseList2D* element = entry->Resolve();
	if (syncFold && IsObjectElement(element))
		element->SetNBit(foldBit, open);
}

void MyTreeViewFunctions::CreateContextMenu(void* root, void*, void* obj, Int32, BaseContainer* menu)
{
	if (!menu)
		return;
	menu->RemoveData(MENU_REMOVE);
	menu->RemoveData(MENU_REMOVE_ALL);
	BaseList2D* element = obj ? Entry(obj)->Resolve() : nullptr;
	if (IsObjectElement(element))
	{
		menu->SetString(MENU_UNFOLD_UNDER, String("Unfold Under"));
		menu->SetString(MENU_FOLD_UNDER, String("Fold Under"));
		menu->SetString(MENU_UNFOLD_ALL, String("Unfold All"));
		menu->SetString(MENU_FOLD_ALL, String("Fold All"));
	}
	if (element)
		menu->SetString(MENU_SELECT, String("Select"));
	PNode* first = root ? static_cast<PNode*>(root)->FirstChild() : nullptr;
	if (first && first->selected)
	{
		menu->SetString(MENU_REMOVE, String("Remove"));
		menu->SetString(MENU_REMOVE_ALL, String("All Remove"));
	}
}

bool MyTreeViewFunctions::ContextMenuCall(Int32 command, void* root, void*, void* obj, Int32)
{
	PNode* rootEntry = static_cast<PNode*>(root);
	PNode* entry = Entry(obj);
	if (!rootEntry)
		return false;
	switch (command)
	{
		case MENU_UNFOLD_UNDER:
			if (!entry)
				return true;
			SetOpened(entry, true);
			ForEachEntry(entry->FirstChild(), [&](PNode* e) {
				SetOpened(e, true);
				return true;
			});
			EventAdd();
			return true;
		case MENU_FOLD_UNDER:
			if (!entry)
				return true;
			// The clicked entry stays open in the tree; only its object's fold bit is cleared.
			if (BaseList2D* element = entry->Resolve(); syncFold && IsObjectElement(element))
				element->SetNBit(foldBit, false);
			ForEachEntry(entry->FirstChild(), [&](PNode* e) {
				SetOpened(e, false);
				return true;
			});
			EventAdd();
			return true;
		case MENU_UNFOLD_ALL:
		case MENU_FOLD_ALL:
			ForEachEntry(rootEntry->FirstChild(), [&](PNode* e) {
				SetOpened(e, command == MENU_UNFOLD_ALL);
				return true;
			});
			EventAdd();
			return true;
		case MENU_SELECT:
			SelectInScene(rootEntry);
			return true;
		case MENU_REMOVE_ALL:
			rootEntry->children.UnlinkAll();
			return true;
		default:
			// "Remove" is the host's delete, which ends in DeletePressed.
			return false;
	}
}

void MyTreeViewFunctions::SelectInScene(PNode* root)
{
	BaseDocument* doc = GetActiveDocument();
	if (!doc)
		return;
	for (PNode* entry = root->FirstChild(); entry; entry = entry->Next())
	{
		if (!entry->selected)
			continue;
		BaseList2D* element = entry->Resolve();
		if (IsObjectElement(element))
		{
			auto* target = static_cast<BaseObject*>(element);
			// Depth first through the scene, clearing selections, until the entry's object.
			for (BaseObject* op = doc->GetFirstObject(); op && op != target;)
			{
				op->DelBit(1u << NBIT_ACTIVE);
				if (BaseObject* down = op->GetDown())
					op = down;
				else
				{
					while (op && !op->GetNext())
						op = op->GetUp();
					if (op)
						op = op->GetNext();
				}
			}
			doc->SetActiveObject(target, SELECTION_NEW);
			for (BaseObject* up = target->GetUp(); up; up = up->GetUp())
			{
				up->SetNBit(NBIT_OM1_FOLD, true);
				up->Message(MSG_UPDATE);
			}
		}
		else if (IsMaterialElement(element))
		{
			for (BaseMaterial* mat = doc->GetFirstMaterial(); mat; mat = mat->GetNext())
			{
				if (mat == element)
					mat->SetBit(1u << NBIT_ACTIVE);
				else
					mat->DelBit(1u << NBIT_ACTIVE);
			}
		}
	}
	EventAdd();
}
