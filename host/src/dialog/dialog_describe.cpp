// A dialog as text, one gadget a line: what print-dialog prints and what a modal dialog's answer
// can log, so both read the same.
#include "dialog/dialog_state.h"
#include "standin/printable.h"

namespace standin::dialogs
{

namespace
{

bool HasValue(GadgetKind kind)
{
	switch (kind)
	{
		case GadgetKind::CheckBox:
		case GadgetKind::ComboBox:
		case GadgetKind::RadioGroup:
		case GadgetKind::EditText:
		case GadgetKind::QuickTab:
		case GadgetKind::ListView: return true;
		default: return false;
	}
}

} // namespace

std::vector<std::string> DescribeDialog(GeDialog* dialog)
{
	std::vector<std::string> lines;
	lines.push_back("dialog " + Quoted(Title(dialog)));
	for (const GadgetView& g : Gadgets(dialog))
	{
		std::string line = std::string(2 * (g.depth + 1), ' ') + GadgetKindName(g.kind) + " " + std::to_string(g.id);
		// Pieces are appended one by one: GCC 12 warns falsely (-Wrestrict) on "text" + string.
		if (!g.caption.empty())
			line.append(" ").append(Quoted(g.caption));
		if (HasValue(g.kind))
			line.append(" = ").append(Quoted(g.value));
		if (!g.children.empty())
		{
			line += " [";
			for (size_t i = 0; i < g.children.size(); ++i)
				line.append(i ? " " : "").append(std::to_string(g.children[i].first)).append(":").append(Quoted(g.children[i].second));
			line += "]";
		}
		line += std::string(g.enabled ? " enabled" : " disabled") + (g.shown ? " shown" : " hidden");
		lines.push_back(std::move(line));
	}
	return lines;
}

} // namespace standin::dialogs
