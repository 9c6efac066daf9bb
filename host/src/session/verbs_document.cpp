// new-document: starts a new, empty document and makes it the active one.
#include "session/words.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kUsage = "new-document";

VerbRegistration registration(Verb{
	"new-document",
	kUsage,
	"Creates an empty document; later commands work in it.",
	[](const Words& args, std::string* error) { return CheckArity(args, 0, 0, kUsage, error); },
	[](Context& ctx, const Words&, std::string* error) {
		BaseDocument* doc = NewDocument();
		if (!doc)
		{
			*error = "the document could not be created";
			return false;
		}
		ctx.document = doc;
		return true;
	},
});

} // namespace

} // namespace standin::session
