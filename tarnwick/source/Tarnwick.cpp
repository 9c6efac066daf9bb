#include "Tarnwick.h"

#include "hostapi/console.h"
#include "hostapi/resource.h"

namespace
{
constexpr Int32 STR_PRODUCT = 10018;
constexpr Int32 STR_SIGNATURE = 10019;
} // namespace

Tarnwick::Tarnwick()
{
	PrintBanner(GeLoadString(STR_PRODUCT) + " " + GeLoadString(STR_SIGNATURE),
		"Gather objects and materials into sets, store and mirror placements.");
}
