// Host-side layouts of the custom data types. Plug-ins see only the interface classes; the host
// (serialisation, description defaults) reaches the stored values through these.
#pragma once

#include <vector>

#include "hostapi/customdata.h"

namespace standin::data
{

struct GradientData final : Gradient
{
	std::vector<GradientKnot> knots;
	BaseContainer properties;

	CustomDataType* Clone() const override;
	bool IsEqual(const CustomDataType& other) const override;
};

struct SplineCurveData final : SplineData
{
	std::vector<CustomSplineKnot> knots;

	CustomDataType* Clone() const override;
	bool IsEqual(const CustomDataType& other) const override;
};

struct PriorityValues final : PriorityData
{
	BaseContainer values;

	CustomDataType* Clone() const override;
	bool IsEqual(const CustomDataType& other) const override;
};

// Fresh, empty instances (nullptr when memory is short).
GradientData* NewGradient();
SplineCurveData* NewSpline();
PriorityValues* NewPriority();

} // namespace standin::data
