// Pictures of the active view: render-view writes one as PNG, set-view-display chooses how its
// objects look.
#include <filesystem>
#include <memory>

#include "picture/view_picture.h"
#include "session/lookup.h"
#include "session/words.h"
#include "standin/printable.h"
#include "view/view_data.h"

namespace standin::session
{

namespace
{

const char* kRenderUsage = "render-view <file.png> [width height]";
const char* kDisplayUsage = "set-view-display shaded|wireframe";

struct RenderArgs
{
	std::string file;
	Int32 width = 0;
	Int32 height = 0;
};

bool ParseRender(const Words& args, RenderArgs* out, std::string* error)
{
	if (args.size() != 1 && args.size() != 3)
	{
		*error = std::string("expected a file and optionally a width and height; usage: ") + kRenderUsage;
		return false;
	}
	if (args[0].empty())
	{
		*error = "the picture needs a file name";
		return false;
	}
	out->file = args[0];
	if (args.size() == 3)
		return ParseInt(args[1], "width", 1, picture::Canvas::kMaxSide, &out->width, error) &&
			ParseInt(args[2], "height", 1, picture::Canvas::kMaxSide, &out->height, error);
	return true;
}

bool RunRender(Session& session, const RenderArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	std::string path;
	if (!ResolveOutputFile(session, args.file, &path, error))
		return false;
	std::unique_ptr<picture::Canvas> canvas;
	picture::ViewPictureOptions options;
	options.width = args.width;
	options.height = args.height;
	std::string why;
	if (!picture::RenderView(session.Document(), bd, options, &canvas, &why) || !canvas->WritePng(path, &why))
	{
		*error = Printable(path, 200) + ": " + why;
		return false;
	}
	session.Out() << "picture " << Printable(args.file, 200) << " " << canvas->Width() << " x " << canvas->Height() << '\n';
	return true;
}

struct DisplayArgs
{
	bool wireframe = false;
};

bool ParseDisplay(const Words& args, DisplayArgs* out, std::string* error)
{
	if (!CheckArity(args, 1, 1, kDisplayUsage, error))
		return false;
	if (args[0] != "shaded" && args[0] != "wireframe")
	{
		*error = "expected shaded or wireframe, not '" + Printable(args[0], 64) + "'";
		return false;
	}
	out->wireframe = args[0] == "wireframe";
	return true;
}

bool RunDisplay(Session& session, const DisplayArgs& args, std::string* error)
{
	BaseDraw* bd = nullptr;
	if (!RequireView(session, &bd, error))
		return false;
	view::ViewDataOf(bd)->wireframe = args.wireframe;
	return true;
}

VerbRegistration render(MakeVerb<RenderArgs>("render-view", kRenderUsage,
	"Draws the active view (its objects, then what the active tool draws) into a PNG picture, at the view's size or the one given.",
	ParseRender, RunRender));

VerbRegistration display(MakeVerb<DisplayArgs>("set-view-display", kDisplayUsage,
	"Chooses whether pictures of the active view show objects shaded or as wireframe.", ParseDisplay, RunDisplay));

} // namespace

} // namespace standin::session
