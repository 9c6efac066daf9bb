// Session verbs for tree gadgets: printing the rows as the adapter draws them, clicking cells (with
// the position inside the cell and the qualifiers held), double clicks, renaming in place, dragging
// rows onto rows, context menus and the delete key.
#include <cctype>

#include "session/verbs_dialog.h"
#include "session/words.h"
#include "standin/dialogs.h"
#include "standin/printable.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

std::string BaseName(const std::string& path)
{
	const size_t slash = path.find_last_of('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DescribeCell(const dialogs::TreeCell& cell)
{
	return DescribeDrawing(cell.ops, cell.x, cell.y);
}

struct TreeArgs
{
	Int32 id = 0;
	Int32 row = -1;
	Int32 column = 0;
	Int32 x = 2, y = 2;
	Int32 flags = 0;
	std::string text;
	Int32 mode = 0;
	Int32 target = -1;
};

bool ParseRow(const std::string& word, bool allowNone, Int32* row, std::string* error)
{
	if (allowNone && word == "none")
	{
		*row = -1;
		return true;
	}
	return ParseInt(word, "row", 0, 0x7fffffff, row, error);
}

bool ParseClick(const Words& args, TreeArgs* out, std::string* error)
{
	const char* usage = "tree-click <gadget> <row>|none <column> [<x> <y>] [ctrl] [shift] [right] [arrow]";
	if (!CheckArity(args, 3, 9, usage, error) || !ParseGadget(args[0], &out->id, error) || !ParseRow(args[1], true, &out->row, error) ||
		!ParseInt(args[2], "column", 0, 0x7fffffff, &out->column, error))
		return false;
	size_t i = 3;
	if (i < args.size() && !args[i].empty() && (std::isdigit(static_cast<unsigned char>(args[i][0])) || args[i][0] == '-'))
	{
		if (i + 1 >= args.size() || !ParseInt(args[i], "x", -100000, 100000, &out->x, error) || !ParseInt(args[i + 1], "y", -100000, 100000, &out->y, error))
		{
			if (error->empty())
				*error = "usage: " + std::string(usage);
			return false;
		}
		i += 2;
	}
	for (; i < args.size(); ++i)
	{
		if (args[i] == "ctrl")
			out->flags |= dialogs::TREE_CTRL;
		else if (args[i] == "shift")
			out->flags |= dialogs::TREE_SHIFT;
		else if (args[i] == "right")
			out->flags |= dialogs::TREE_RIGHT;
		else if (args[i] == "arrow")
			out->flags |= dialogs::TREE_ARROW;
		else
		{
			*error = "unknown word '" + Printable(args[i], 40) + "' (expected ctrl, shift, right or arrow)";
			return false;
		}
	}
	return true;
}

template <typename Act>
bool OnDialog(Act act, std::string* error)
{
	GeDialog* dialog = nullptr;
	if (!CurrentDialog(&dialog, error))
		return false;
	return act(dialog);
}

bool RunPrintTree(Session& session, const TreeArgs& args, std::string* error)
{
	GeDialog* dialog = nullptr;
	if (!CurrentDialog(&dialog, error))
		return false;
	std::vector<dialogs::TreeColumn> columns;
	Int32 header = 0;
	std::vector<dialogs::TreeRow> rows;
	std::vector<dialogs::TreeCell> headerCells;
	if (!dialogs::TreeColumns(dialog, args.id, &columns, &header, error) || !dialogs::TreeRows(dialog, args.id, &rows, error) ||
		!dialogs::TreeHeader(dialog, args.id, &headerCells, error))
		return false;
	std::ostream& out = session.Out();
	out << "tree " << args.id << ": " << rows.size() << " rows, header " << header << ", columns";
	for (const auto& c : columns)
		out << " " << c.id << "@" << c.x << "+" << c.width << (c.checks ? " check" : "");
	out << "\n";
	if (!headerCells.empty())
	{
		out << "header\n";
		for (const dialogs::TreeCell& cell : headerCells)
			out << "  " << cell.column << ": " << DescribeCell(cell) << "\n";
	}
	for (size_t r = 0; r < rows.size(); ++r)
	{
		const dialogs::TreeRow& row = rows[r];
		out << "row " << r << " depth " << row.depth << " " << (row.hasChildren ? (row.opened ? "open" : "folded") : "leaf") << (row.selected ? " selected" : "") << " "
			<< Quoted(row.name) << "\n";
		for (const dialogs::TreeCell& cell : row.cells)
			out << "  " << cell.column << ": " << DescribeCell(cell) << "\n";
	}
	return true;
}

bool RunClick(Session&, const TreeArgs& a, std::string* error)
{
	return OnDialog([&](GeDialog* d) { return dialogs::TreeClick(d, a.id, a.row, a.column, a.x, a.y, a.flags, error); }, error);
}

bool ParseRowColumn(const Words& args, TreeArgs* out, std::string* error, const char* usage)
{
	return CheckArity(args, 3, 3, usage, error) && ParseGadget(args[0], &out->id, error) && ParseRow(args[1], false, &out->row, error) &&
		ParseInt(args[2], "column", 0, 0x7fffffff, &out->column, error);
}

bool ParseRename(const Words& args, TreeArgs* out, std::string* error)
{
	if (!CheckArity(args, 3, 3, "tree-rename <gadget> <row> <name>", error) || !ParseGadget(args[0], &out->id, error) || !ParseRow(args[1], false, &out->row, error))
		return false;
	out->text = args[2];
	return true;
}

bool ParseDrag(const Words& args, TreeArgs* out, std::string* error)
{
	const char* usage = "tree-drag <gadget> <row> [from <column>] before|under|after <row>|none";
	if (!CheckArity(args, 4, 6, usage, error) || !ParseGadget(args[0], &out->id, error) || !ParseRow(args[1], false, &out->row, error))
		return false;
	size_t i = 2;
	out->column = 100;
	if (args[i] == "from")
	{
		if (args.size() != 6 || !ParseInt(args[i + 1], "column", 0, 0x7fffffff, &out->column, error))
		{
			if (error->empty())
				*error = "usage: " + std::string(usage);
			return false;
		}
		i += 2;
	}
	if (i + 2 != args.size())
	{
		*error = "usage: " + std::string(usage);
		return false;
	}
	if (args[i] == "before")
		out->mode = INSERT_BEFORE;
	else if (args[i] == "under")
		out->mode = INSERT_UNDER;
	else if (args[i] == "after")
		out->mode = INSERT_AFTER;
	else
	{
		*error = "expected before, under or after, not '" + Printable(args[i], 40) + "'";
		return false;
	}
	return ParseRow(args[i + 1], true, &out->target, error);
}

bool RunDrag(Session& session, const TreeArgs& a, std::string* error)
{
	std::string refusal;
	if (!OnDialog([&](GeDialog* d) { return dialogs::TreeDrag(d, a.id, a.row, a.column, a.target, a.mode, &refusal, error); }, error))
		return false;
	// A refused drop is what a user sees happen, not a failure of the script.
	if (!refusal.empty())
		session.Out() << refusal << "\n";
	return true;
}

bool ParseMenu(const Words& args, TreeArgs* out, std::string* error)
{
	if (!CheckArity(args, 3, 4, "tree-menu <gadget> <row>|none <column> [<entry>]", error) || !ParseGadget(args[0], &out->id, error) ||
		!ParseRow(args[1], true, &out->row, error) || !ParseInt(args[2], "column", 0, 0x7fffffff, &out->column, error))
		return false;
	if (args.size() == 4)
		out->text = args[3];
	return true;
}

bool RunMenu(Session& session, const TreeArgs& a, std::string* error)
{
	std::vector<std::pair<Int32, std::string>> entries;
	if (!OnDialog([&](GeDialog* d) { return dialogs::TreeMenu(d, a.id, a.row, a.column, a.text, &entries, error); }, error))
		return false;
	session.Out() << "menu:";
	if (entries.empty())
		session.Out() << " (empty)";
	for (const auto& [id, caption] : entries)
		session.Out() << " [" << id << " " << Quoted(caption) << "]";
	session.Out() << "\n";
	return true;
}

VerbRegistration printTree(MakeVerb<TreeArgs>("print-tree", "print-tree <gadget>",
	"Prints a tree gadget of the open dialog: its columns, then each row (depth, fold state, selection, name) and what the adapter drew in each cell.",
	[](const Words& a, TreeArgs* o, std::string* e) { return CheckArity(a, 1, 1, "print-tree <gadget>", e) && ParseGadget(a[0], &o->id, e); }, RunPrintTree));

VerbRegistration treeClick(MakeVerb<TreeArgs>("tree-click", "tree-click <gadget> <row>|none <column> [<x> <y>] [ctrl] [shift] [right] [arrow]",
	"Clicks a cell of a tree at (x, y) inside it (2, 2 unless given) with the qualifiers held; arrow clicks the fold arrow of the tree column.",
	ParseClick, RunClick));

VerbRegistration treeDoubleClick(MakeVerb<TreeArgs>("tree-double-click", "tree-double-click <gadget> <row> <column>",
	"Double-clicks a cell of a tree.",
	[](const Words& a, TreeArgs* o, std::string* e) { return ParseRowColumn(a, o, e, "tree-double-click <gadget> <row> <column>"); },
	[](Session&, const TreeArgs& a, std::string* error) {
		return OnDialog([&](GeDialog* d) { return dialogs::TreeDoubleClick(d, a.id, a.row, a.column, error); }, error);
	}));

VerbRegistration treeRename(MakeVerb<TreeArgs>("tree-rename", "tree-rename <gadget> <row> <name>",
	"Double-clicks a row's name and types a new one, as renaming in place does.", ParseRename,
	[](Session&, const TreeArgs& a, std::string* error) {
		return OnDialog([&](GeDialog* d) { return dialogs::TreeRename(d, a.id, a.row, a.text, error); }, error);
	}));

VerbRegistration treeDrag(MakeVerb<TreeArgs>("tree-drag", "tree-drag <gadget> <row> [from <column>] before|under|after <row>|none",
	"Presses a row (in the name column unless given), drags it and drops it before, under or after another row; prints why when the drop is refused.",
	ParseDrag, RunDrag));

VerbRegistration treeMenu(MakeVerb<TreeArgs>("tree-menu", "tree-menu <gadget> <row>|none <column> [<entry>]",
	"Opens a tree's context menu on a row (none: empty space), prints its entries and chooses one by ID or caption when given.",
	ParseMenu, RunMenu));

VerbRegistration treeSplit(MakeVerb<TreeArgs>("tree-drag-split", "tree-drag-split <gadget> <column> <dx>",
	"Drags the left edge of a tree column (in its header) dx pixels sideways with the left button.",
	[](const Words& a, TreeArgs* o, std::string* e) {
		return CheckArity(a, 3, 3, "tree-drag-split <gadget> <column> <dx>", e) && ParseGadget(a[0], &o->id, e) &&
			ParseInt(a[1], "column", 0, 0x7fffffff, &o->column, e) && ParseInt(a[2], "dx", -16384, 16384, &o->x, e);
	},
	[](Session&, const TreeArgs& a, std::string* error) {
		return OnDialog([&](GeDialog* d) { return dialogs::TreeSplitDrag(d, a.id, a.column, a.x, error); }, error);
	}));

VerbRegistration treeDelete(MakeVerb<TreeArgs>("tree-delete", "tree-delete <gadget>",
	"Presses the delete key in a tree.",
	[](const Words& a, TreeArgs* o, std::string* e) { return CheckArity(a, 1, 1, "tree-delete <gadget>", e) && ParseGadget(a[0], &o->id, e); },
	[](Session&, const TreeArgs& a, std::string* error) {
		return OnDialog([&](GeDialog* d) { return dialogs::TreeDelete(d, a.id, error); }, error);
	}));

} // namespace

std::string DescribeDrawing(const std::vector<dialogs::DrawOp>& ops, Int32 x0, Int32 y0)
{
	std::string out;
	int lines = 0;
	for (const dialogs::DrawOp& op : ops)
	{
		std::string item;
		switch (op.kind)
		{
			case dialogs::DrawOp::Bitmap:
				item = (op.text.empty() ? std::string("bitmap") : BaseName(op.text)) + " " + std::to_string(op.x2) + "x" + std::to_string(op.y2) + " at " +
					std::to_string(op.x1 - x0) + "," + std::to_string(op.y1 - y0) + " flags " + std::to_string(op.mode);
				break;
			case dialogs::DrawOp::Text: item = Quoted(op.text) + " colour " + std::to_string(op.colour); break;
			case dialogs::DrawOp::Line: ++lines; break;
			case dialogs::DrawOp::Rectangle: item = "fill " + std::to_string(op.colour); break;
			case dialogs::DrawOp::Check:
				item = std::string("check ") + ((op.mode & 2) ? "on" : "off") + ((op.mode & 1) ? "" : " disabled");
				break;
			case dialogs::DrawOp::Clip: break;
		}
		if (!item.empty())
			out += (out.empty() ? "" : ", ") + item;
	}
	if (lines)
		out += (out.empty() ? "" : ", ") + std::string("lines ") + std::to_string(lines);
	return out.empty() ? "-" : out;
}

} // namespace standin::session
