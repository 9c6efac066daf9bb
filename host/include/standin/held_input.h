// A test knob: buttons, keys and qualifiers held through the host's scripted input for as long
// as the object lives, so that code asking GetInputState (a thread's TestDBreak, say) sees them.
#pragma once

#include <memory>

#include "hostapi/types.h"

namespace standin
{

class HeldInput
{
public:
	// qualifiers: QSHIFT | QCTRL | QALT; button: a mouse channel or 0; key: a key channel or 0.
	HeldInput(Int32 qualifiers, Int32 button, Int32 key);
	// Puts back the input source that was current before.
	~HeldInput();
	HeldInput(const HeldInput&) = delete;
	HeldInput& operator=(const HeldInput&) = delete;

private:
	struct State;
	std::unique_ptr<State> _state;
};

} // namespace standin
