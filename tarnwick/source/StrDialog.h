// The small modal dialog that asks for one line of text: the name of a new set.
#pragma once

#include "hostapi/dialog.h"

class StrDialog : public GeModalDialog
{
public:
	// The text shown and, after OK, the text typed (owned by the manager dialog).
	String* text = nullptr;

	bool CreateLayout() override;
	bool InitValues() override;
	bool Command(Int32 id, const BaseContainer& msg) override;
};
