// The model as plain text: what a script or a test checks after each operation.
#include <string>

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

void DescribeEntry(const PNode* entry, Int32 depth, std::string& out)
{
	// Iterative over siblings, recursive over depth: the depth is that of the scene's hierarchy.
	for (; entry; entry = entry->Next())
	{
		out.append(static_cast<std::size_t>(2 * depth), ' ');
		out += Quoted(entry->name) + " " + KindWord(entry->kind);
		if (entry->selected)
			out += " selected";
		if (entry->opened)
			out += " opened";
		if (!entry->Resolve())
			out += " gone";
		out += "\n";
		DescribeEntry(entry->FirstChild(), depth + 1, out);
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
			" members\n";
		for (Int32 k = 0; k < set->GetCount(); ++k)
		{
			const SetItem* item = set->Get(k);
			BaseList2D* element = item->Resolve();
			out += "  " + std::string(KindWord(item->kind)) + " " +
				(element ? Quoted(element->GetName()) : std::string("(gone)")) + "\n";
		}
	}
	out += "held " + std::to_string(heldPool.GetCount()) + " entries\n";
	DescribeEntry(FirstHeld(), 1, out);
	return String(out);
}
