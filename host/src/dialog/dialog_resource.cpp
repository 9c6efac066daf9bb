#include "dialog/dialog_resource.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "plugins/resource_files.h"
#include "standin/console.h"
#include "standin/printable.h"

namespace standin::dialogs
{

namespace
{

constexpr size_t kMaxDialogFile = 1u << 20;

struct LineReader
{
	std::string line;
	size_t pos = 0;

	void Skip()
	{
		while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r'))
			++pos;
	}
	bool AtEnd()
	{
		Skip();
		return pos >= line.size() || line[pos] == '#';
	}
	bool Word(std::string* out)
	{
		Skip();
		const size_t start = pos;
		while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r')
			++pos;
		*out = line.substr(start, pos - start);
		return !out->empty();
	}
	bool Int(Int32* out)
	{
		std::string w;
		if (!Word(&w) || w.size() > 11)
			return false;
		char* end = nullptr;
		const long v = std::strtol(w.c_str(), &end, 10);
		if (*end != '\0' || v < INT32_MIN || v > INT32_MAX)
			return false;
		*out = static_cast<Int32>(v);
		return true;
	}
	bool Quoted(std::string* out)
	{
		Skip();
		if (pos >= line.size() || line[pos] != '"')
			return false;
		++pos;
		out->clear();
		while (pos < line.size() && line[pos] != '"')
			out->push_back(line[pos++]);
		if (pos >= line.size())
			return false;
		++pos;
		return true;
	}
};

String Caption(const std::string& text, const GeResource* resource)
{
	if (text.size() > 1 && text[0] == '@' && resource)
		return resource->LoadString(std::atoi(text.c_str() + 1));
	return String(text);
}

} // namespace

bool BuildDialogText(GeDialog& dialog, const std::string& text, const std::string& path, const GeResource* resource, std::string* error)
{
	std::istringstream in(text);
	LineReader r;
	int number = 0;
	int depth = 0;
	Int32 lastChoices = 0;
	while (std::getline(in, r.line))
	{
		++number;
		r.pos = 0;
		if (r.AtEnd())
			continue;
		const std::string where = path + ":" + std::to_string(number) + ": ";
		std::string kind;
		r.Word(&kind);
		if (kind == "END")
		{
			if (depth == 0 || !dialog.GroupEnd())
			{
				*error = where + "END without GROUP";
				return false;
			}
			--depth;
			continue;
		}
		Int32 id = 0;
		if (!r.Int(&id))
		{
			*error = where + "expected a gadget ID after " + Printable(kind, 40);
			return false;
		}
		std::string caption;
		Int32 a = 0, b = 0;
		bool ok = true;
		if (kind == "GROUP")
		{
			ok = r.Int(&a);
			if (ok && !r.AtEnd())
				ok = r.Quoted(&caption);
			ok = ok && dialog.GroupBegin(id, BFH_SCALEFIT, a, 0, Caption(caption, resource), 0);
			if (ok && !caption.empty())
				dialog.GroupBorder(BORDER_GROUP_IN | BORDER_WITH_TITLE);
			++depth;
		}
		else if (kind == "BUTTON" || kind == "CHECKBOX" || kind == "TEXT")
		{
			ok = r.Quoted(&caption);
			const String c = Caption(caption, resource);
			if (ok)
				ok = kind == "BUTTON" ? dialog.AddButton(id, BFH_LEFT, 0, 0, c)
					: kind == "CHECKBOX" ? dialog.AddCheckbox(id, BFH_LEFT, 0, 0, c)
					: dialog.AddStaticText(id, BFH_LEFT, 0, 0, c, 0);
		}
		else if (kind == "RADIO")
		{
			ok = r.Int(&a) && dialog.AddRadioGroup(id, BFH_LEFT, a, 0);
			lastChoices = id;
		}
		else if (kind == "CHILD")
		{
			ok = lastChoices != 0 && r.Quoted(&caption) && dialog.AddChild(lastChoices, id, Caption(caption, resource));
		}
		else if (kind == "EDIT" || kind == "COMBO" || kind == "LINK" || kind == "TREE" || kind == "USERAREA")
		{
			if (!r.AtEnd())
				ok = r.Int(&a) && r.Int(&b);
			if (ok)
			{
				if (kind == "EDIT")
					ok = dialog.AddEditText(id, BFH_SCALEFIT, a, b);
				else if (kind == "COMBO")
				{
					ok = dialog.AddComboBox(id, BFH_LEFT, a, b);
					lastChoices = id;
				}
				else if (kind == "USERAREA")
					ok = dialog.AddUserArea(id, BFH_SCALEFIT, a, b);
				else
				{
					const Int32 gui = kind == "TREE" ? CUSTOMGUI_TREEVIEW : CUSTOMGUI_LINKBOX;
					ok = dialog.AddCustomGui(id, gui, String(), BFH_SCALEFIT, a, b, BaseContainer()) != nullptr;
				}
			}
		}
		else
		{
			*error = where + "unknown gadget kind '" + Printable(kind, 40) + "'";
			return false;
		}
		if (!ok || !r.AtEnd())
		{
			*error = where + "cannot read the " + Printable(kind, 40) + " line";
			return false;
		}
	}
	if (depth != 0)
	{
		*error = path + ": a GROUP is not closed";
		return false;
	}
	return true;
}

bool BuildDialogResource(GeDialog& dialog, DialogState& state, Int32 id, const GeResource* resource)
{
	(void)state;
	if (!resource || !resource->IsLoaded())
	{
		GePrint(String("Dialog resource " + std::to_string(id) + " not loaded: the plug-in's resources are not loaded"));
		return false;
	}
	const std::string path = (std::filesystem::path(resource->GetResourceFolder().GetString().Get()) / "dialogs" / (std::to_string(id) + ".dlg")).string();
	std::string text, error;
	if (!resfiles::ReadSmallFile(path, kMaxDialogFile, &text, &error) || !BuildDialogText(dialog, text, path, resource, &error))
	{
		GePrint(String("Dialog resource " + std::to_string(id) + " not loaded: " + Printable(error, 300)));
		return false;
	}
	return true;
}

} // namespace standin::dialogs
