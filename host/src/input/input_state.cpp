// GetInputState: what the current input source holds right now.
#include "hostapi/input.h"
#include "input/input_source.h"

bool GetInputState(Int32 device, Int32 channel, BaseContainer& result)
{
	const standin::input::InputSource& source = standin::input::CurrentSource();
	if (device != BFM_INPUT_MOUSE && device != BFM_INPUT_KEYBOARD)
		return false;
	result.FlushAll();
	result.SetInt32(BFM_INPUT_DEVICE, device);
	result.SetInt32(BFM_INPUT_QUALIFIER, source.Qualifiers());
	if (device == BFM_INPUT_MOUSE)
	{
		result.SetInt32(BFM_INPUT_CHANNEL, channel);
		result.SetInt32(BFM_INPUT_VALUE, source.HeldButton() != 0 && source.HeldButton() == channel ? 1 : 0);
		result.SetFloat(BFM_INPUT_X, source.PointerX());
		result.SetFloat(BFM_INPUT_Y, source.PointerY());
		return true;
	}
	const Int32 key = source.HeldKey();
	if (channel == BFM_INPUT_CHANNEL)
	{
		// "Which key is down?": the key, or no channel at all when none is.
		if (key != 0)
		{
			result.SetInt32(BFM_INPUT_CHANNEL, key);
			result.SetInt32(BFM_INPUT_VALUE, 1);
		}
		return true;
	}
	result.SetInt32(BFM_INPUT_CHANNEL, channel);
	result.SetInt32(BFM_INPUT_VALUE, key != 0 && key == channel ? 1 : 0);
	return true;
}
