#include "ToolDefaults.h"

#include "HostHandle.h"
#include "LoomSurface.h"
#include "ToolSettings.h"
#include "hostapi/customdata.h"
#include "hostapi/resource.h"

namespace
{
// Gradient property 1002 (interpolation) set to 2 for the split gradient.
constexpr Int32 GRADIENT_INTERPOLATION = 1002;
constexpr Int32 GRADIENT_INTERPOLATION_SPLITS = 2;
} // namespace

bool SetFalloffDefault(BaseContainer& data)
{
	HostHandle<SplineData> curve(SplineData::Alloc());
	if (!curve || curve->InsertKnot(0.0, 1.0) < 0 || curve->InsertKnot(1.0, 0.0) < 0)
		return false;
	data.SetData(LOOM_FALLOFF, GeData(*curve.Get()));
	return data.GetCustomDataType(LOOM_FALLOFF, CUSTOMDATATYPE_SPLINE) != nullptr;
}

void WriteSettingDefaults(BaseContainer& data)
{
	data.SetInt32(LOOM_STROKE_SEGMENTS, 5);
	data.SetInt32(LOOM_SPAN_SEGMENTS, 3);
	data.SetInt32(LOOM_RADIUS, 10);
	data.SetLink(LOOM_PLANE_OBJECT, nullptr);
	data.SetInt32(LOOM_PLANE_AXIS, LOOM_PLANE_TURN_Z);
	data.SetBool(LOOM_PLANE_SOLID, false);
	data.SetFloat(LOOM_PLANE_TOLERANCE, 10.0);
	SetFalloffDefault(data);
	data.SetBool(LOOM_UV_FROM_SOURCE, false);
	data.SetLink(LOOM_UV_SOURCE, nullptr);
	data.SetBool(LOOM_GUIDE_SPLINES, false);
	data.SetBool(LOOM_ON_SURFACE, false);
	data.SetInt32(LOOM_STROKE_STYLE, LOOM_STYLE_FREEHAND);
	data.SetBool(LOOM_ANGLE_SNAP, false);
	data.SetFloat(LOOM_ANGLE_STEP, 0.0);
	data.SetString(LOOM_TEXT_A, GeLoadString(LOOM_STR_TEXT_A));
	data.SetFloat(LOOM_OFFSET, 0.0);
	data.SetFloat(LOOM_PLANE_SIZE, 100.0);
	data.SetInt32(LOOM_THREADS, GeGetCurrentThreadCount());
	data.SetString(LOOM_RESULT, String());
	data.SetInt32(LOOM_SURFACE_MODE, LOOM_MODE_NEW_SURFACE);
	data.SetBool(LOOM_USE_X, true);
	data.SetBool(LOOM_USE_Y, true);
	data.SetBool(LOOM_USE_Z, true);
	data.SetString(LOOM_TEXT_B, GeLoadString(LOOM_STR_TEXT_B));
	HostHandle<Gradient> splits(Gradient::Alloc());
	if (splits)
	{
		splits->SetData(GRADIENT_INTERPOLATION, GeData(GRADIENT_INTERPOLATION_SPLITS));
		data.SetData(LOOM_SPLITS, GeData(*splits.Get()));
	}
	data.SetBool(LOOM_EVEN_SPLITS, false);
	data.SetLink(LOOM_INSPECT_OBJECT, nullptr);
	data.SetInt32(LOOM_FREEHAND_POINTS, 20);
}

bool LoomS::InitDefaultSettings(BaseDocument* doc, BaseContainer& data)
{
	WriteSettingDefaults(data);
	_onPlane = 0;
	return DescriptionToolData::InitDefaultSettings(doc, data);
}
