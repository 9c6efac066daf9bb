// The model as plain text: what a script or a test checks after each operation.
#include <string>
#include <vector>

#include "ElementSearch.h"
#include "ManagerModel.h"

namespace
{

const char* KindWord(Int32 kind)
{
	switch (kind)
	{
		case ENTRY_OBJECT: return "object";
		case ENTRY_MATERIAL: return "material";
		case ENTRY_DESCENDANT: return "child";
		default: return "unknown";
	}
}

std::string Quoted(const String& text)
{
	return "\"" + text.Get() + "\"";
}

void DescribeHeld(const PNode* first, std::string& out)
{
	// Depth first with an explicit stack of the siblings still to come at each open level.
	std::vector<const PNode*> pending;
	const PNode* entry = first;
	while (entry || !pending.empty())
	{
		if (!entry)
		{
			entry = pending.back();
			pending.pop_back();
			continue;
		}
		out.append(2 * (pending.size() + 1), ' ');
		out += Quoted(entry->name) + " " + KindWord(entry->kind);
		if (entry->selected)
			out += " selected";
		if (entry->opened)
			out += " opened";
		if (!entry->Resolve())
			out += " gone";
		out += "\n";
		if (entry->FirstChild())
		{
			pending.push_back(entry->Next());
			entry = entry->FirstChild();
		}
		else
			entry = entry->Next();
	}
}

} // namespace

String ManagerModel::Describe() const
{
	std::string out;
	out += "sets " + std::to_string(sets.GetCount()) + ", current " + std::to_string(currentSet) + ", caption " +
		Quoted(setCaption) + "\n";
	for (Int32 j = 0; j < sets.GetCount(); ++j)
	{
		const ObjectSet* set = sets.Get(j);
		out += "set " + std::to_string(j + 1) + " " + Quoted(set->GetName()) + ", " + std::to_string(set->GetCount()) +
			(set->GetCount() == 1 ? " member\n" : " members\n");
		for (Int32 k = 0; k < set->GetCount(); ++k)
		{
			const SetItem* item = set->Get(k);
			BaseList2D* element = item->Resolve();
			out += "  " + std::string(KindWord(item->kind)) + " " +
				(element ? Quoted(element->GetName()) : std::string("(gone)")) + "\n";
		}
	}
	out += "held " + std::to_string(heldPool.GetCount()) + " entries\n";
	DescribeHeld(FirstHeld(), out);
	return String(out);
}
