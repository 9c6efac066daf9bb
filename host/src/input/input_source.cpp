#include "input/input_source.h"

#include <atomic>

namespace standin::input
{

namespace
{

// Nobody at the keyboard: nothing held, and a drag ends as soon as it starts.
class NoInput final : public InputSource
{
public:
	Int32 Qualifiers() const override { return 0; }
	Int32 HeldButton() const override { return 0; }
	Int32 HeldKey() const override { return 0; }
	Float PointerX() const override { return 0.0; }
	Float PointerY() const override { return 0.0; }
	DragStep NextDragStep() override { return DragStep{}; }
};

NoInput noInput;
std::atomic<InputSource*> current{nullptr};

} // namespace

InputSource& CurrentSource()
{
	InputSource* source = current.load();
	return source ? *source : noInput;
}

InputSource* UseSource(InputSource* source)
{
	return current.exchange(source);
}

} // namespace standin::input
