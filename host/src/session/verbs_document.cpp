// new-document: starts a new, empty document and makes it the active one.
#include "session/lookup.h"
#include "session/words.h"
#include "standin/scene.h"

namespace standin::session
{

namespace
{

const char* kUsage = "new-document";

VerbRegistration registration(SceneEdit(MakeVerb<NoArgs>(
	"new-document",
	kUsage,
	"Creates an empty document; later commands work in it.",
	NoWords(kUsage),
	[](Session& session, const NoArgs&, std::string* error) {
		BaseDocument* doc = NewDocument();
		if (!doc)
		{
			*error = "the document could not be created";
			return false;
		}
		session.SetDocument(doc);
		return true;
	})));

} // namespace

} // namespace standin::session
