#include "StrDialog.h"

#include "TarnwickIds.h"
#include "hostapi/resource.h"

bool StrDialog::CreateLayout()
{
	SetTitle(GeLoadString(STR_TARNWICK));
	AddEditText(IDC_NAME_FIELD, BFH_SCALEFIT, 100, 12);
	GroupBegin(0, BFH_CENTER, 2, 0, String(), 0);
	AddButton(IDC_NAME_OK, BFH_LEFT, 50, 12, GeLoadString(STR_OK));
	AddButton(IDC_NAME_CANCEL, BFH_LEFT, 50, 12, GeLoadString(STR_CANCEL));
	GroupEnd();
	return true;
}

bool StrDialog::InitValues()
{
	return SetString(IDC_NAME_FIELD, text ? *text : String());
}

bool StrDialog::Command(Int32 id, const BaseContainer& msg)
{
	(void)msg;
	if (id == IDC_NAME_OK)
	{
		if (text)
			GetString(IDC_NAME_FIELD, *text);
		Close(true);
	}
	else if (id == IDC_NAME_CANCEL)
		Close(false);
	return true;
}
