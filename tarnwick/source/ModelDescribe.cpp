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

// A name in quotes, with control bytes, quotes and backslashes escaped so that one listing line
// stays one line and a name cannot pass itself off as another line of the listing.
std::string Quoted(const String& text)
{
	static const char* const HEX = "0123456789abcdef";
	std::string out = "\"";
	for (const char c : text.Get())
	{
		const auto byte = static_cast<unsigned char>(c);
		if (c == '"' || c == '\\')
		{
			out += '\\';
			out += c;
		}
		else if (c == '\n')
			out += "\\n";
		else if (c == '\t')
			out += "\\t";
		else if (c == '\r')
			out += "\\r";
		else if (byte < 0x20 || byte == 0x7f)
		{
			out += "\\x";
			out += HEX[byte >> 4];
			out += HEX[byte & 15];
		}
		else
			out += c;
	}
	return out + "\"";
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
		const Int32 present = set->CountPresent();
		const Int32 absent = set->GetCount() - present;
		out += "set " + std::to_string(j + 1) + " " + Quoted(set->GetName()) + ", " + std::to_string(present) +
			(present == 1 ? " member" : " members");
		if (absent > 0)
			out += " (" + std::to_string(absent) + " more kept, not in this scene)";
		out += "\n";
		for (Int32 k = 0; k < set->GetCount(); ++k)
		{
			const SetItem* item = set->Get(k);
			if (BaseList2D* element = item->Resolve())
				out += "  " + std::string(KindWord(item->kind)) + " " + Quoted(element->GetName()) + "\n";
		}
	}
	if (const Int32 kept = sets.GetKeptCount(); kept > 0)
		out += "kept " + std::to_string(kept) + (kept == 1 ? " set" : " sets") + " without members in this scene\n";
	out += "held " + std::to_string(heldPool.GetCount()) + (heldPool.GetCount() == 1 ? " entry\n" : " entries\n");
	DescribeHeld(FirstHeld(), out);
	return String(out);
}
