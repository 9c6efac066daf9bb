#include "standin/held_input.h"

#include "input/scripted_input.h"

namespace standin
{

struct HeldInput::State
{
	input::ScriptedInput input;
	input::InputSource* before = nullptr;
};

HeldInput::HeldInput(Int32 qualifiers, Int32 button, Int32 key) : _state(std::make_unique<State>())
{
	_state->input.Hold(qualifiers, button, key);
	_state->before = input::UseSource(&_state->input);
}

HeldInput::~HeldInput()
{
	input::UseSource(_state->before);
}

} // namespace standin
