#include "LoomSurface.h"

#include "ToolSettings.h"
#include "hostapi/console.h"
#include "hostapi/resource.h"

LoomS::LoomS()
{
	PrintBanner(GeLoadString(LOOM_STR_HELP) + GeLoadString(LOOM_STR_RELEASE),
		"Draw strokes in the view, then press Create to weave them into a surface.");
}

LoomS::~LoomS()
{
	_strokes.Free();
	ReleaseEdgeLine(_edgeLines);
}

Int32 LoomS::GetState(BaseDocument* doc)
{
	(void)doc;
	return 1;
}

Int32 LoomS::GetCommandFlags()
{
	return CMD_ENABLED;
}

// The tool draws in the highlight pass, where its strokes and cursor belong.
bool LoomS::WantsDrawPass(UChar passFlags)
{
	return (passFlags & TOOLDRAWFLAGS_HIGHLIGHT) != 0;
}

Int32 LoomS::GetToolPluginId()
{
	return LOOM_TOOL_ID;
}

const String LoomS::GetResourceSymbol()
{
	return "LoomDialog";
}

void LoomS::ResetStrokes()
{
	_strokes.Free();
	_cursorPos = Vector();
	_snapped = 0;
	_radiusPx = 0;
	_hitFlag = 0;
	_openEndPoint = -1;
}

Stroke* LoomS::BeginStroke(const Vector& p)
{
	Stroke* stroke = _strokes.AppendStroke();
	if (!stroke)
		return nullptr;
	if (!stroke->AppendPoint(0, p))
	{
		_strokes.RemoveAt(_strokes.GetCount() - 1);
		return nullptr;
	}
	return stroke;
}

BaseObject* LoomS::GetPickedObject(BaseDocument* doc) const
{
	if (!_pickedObject)
		return nullptr;
	BaseList2D* element = _pickedObject->GetLink(doc);
	if (!element || !element->IsInstanceOf(Obase))
		return nullptr;
	return static_cast<BaseObject*>(element);
}

bool LoomS::SetPickedObject(BaseObject* op)
{
	if (!op)
	{
		_pickedObject.Reset();
		return true;
	}
	if (!_pickedObject)
		_pickedObject.Reset(BaseLink::Alloc());
	if (!_pickedObject)
		return false;
	_pickedObject->SetLink(op);
	return true;
}
