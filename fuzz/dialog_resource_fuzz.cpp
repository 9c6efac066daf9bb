// libFuzzer target: dialog resources (a plug-in's res/dialogs/*.dlg). Whatever the text, building
// it into a dialog ends with gadgets or an error naming the file, and the dialog it built opens,
// lays out, prints and closes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialog/dialog_resource.h"
#include "fuzz_support.h"
#include "standin/dialogs.h"

namespace
{

class Probe : public GeDialog
{
public:
	std::string text;
	bool built = false;
	bool CreateLayout() override
	{
		std::string error;
		built = standin::dialogs::BuildDialogText(*this, text, "fuzz.dlg", nullptr, &error);
		if (!built && error.rfind("fuzz.dlg", 0) != 0)
			fuzz::Fault("a refused dialog resource does not name its file");
		return true;
	}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
	Probe probe;
	probe.text.assign(reinterpret_cast<const char*>(data), size);
	if (!probe.Open(DLG_TYPE_ASYNC, 1, -1, -1, 0, 0))
		fuzz::Fault("a dialog whose layout answered true did not open");
	for (const standin::dialogs::GadgetView& g : standin::dialogs::Gadgets(&probe))
		if (g.w < 0 || g.h < 0)
			fuzz::Fault("a gadget was laid out with a negative size");
	std::string error;
	standin::dialogs::AskClose(&probe, &error);
	return 0;
}
