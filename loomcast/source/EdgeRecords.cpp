#include "EdgeRecords.h"

#include <algorithm>

#include "KernelTags.h"
#include "hostapi/memory.h"

EdgeRecordList::~EdgeRecordList()
{
	DeleteMem(_records);
}

bool EdgeRecordList::Collect(const PolygonObject* op)
{
	DeleteMem(_records);
	_count = 0;
	Int64 usable = 0;
	ForEachUsableSelectedEdge(op, [&](Int32, Int32, Int32) { ++usable; });
	if (usable == 0)
		return true;
	if (usable > 0x7fffffff)
		return false;
	_records = NewMemClear(EdgeRecord, usable, DTOOL_SOURCE);
	if (!_records)
		return false;
	ForEachUsableSelectedEdge(op, [&](Int32 edge, Int32 first, Int32 second) {
		if (_count < usable)
		{
			EdgeRecord& r = _records[_count++];
			r = EdgeRecord();
			r.first = first;
			r.second = second;
			r.edge = edge;
		}
	});
	return true;
}

bool EdgeRecordList::MarkDuplicates()
{
	if (_count <= 1)
		return true;
	// Sorting record numbers by their unordered point pair (then by number) puts every edge's
	// records side by side with the earliest first; the rest of each group are the duplicates.
	Int32* order = NewMemClear(Int32, _count, DTOOL_SOURCE);
	if (!order)
		return false;
	for (Int32 i = 0; i < _count; ++i)
		order[i] = i;
	auto key = [this](Int32 i) {
		const EdgeRecord& r = _records[i];
		return std::pair<Int32, Int32>(std::min(r.first, r.second), std::max(r.first, r.second));
	};
	std::sort(order, order + _count, [&](Int32 l, Int32 r) {
		const auto kl = key(l), kr = key(r);
		return kl != kr ? kl < kr : l < r;
	});
	for (Int32 i = 1; i < _count; ++i)
		_records[order[i]].duplicate = key(order[i]) == key(order[i - 1]);
	DeleteMem(order);
	return true;
}

bool EdgeRecordList::CountSharedEnds()
{
	// Every end of every non-duplicate record, sorted: a point's number of entries minus its own is
	// how many other records share it (a record never holds the same point twice).
	Int64 ends = 0;
	for (Int32 i = 0; i < _count; ++i)
		if (!_records[i].duplicate)
			ends += 2;
	Int32* points = NewMemClear(Int32, ends, DTOOL_SOURCE);
	if (!points)
		return false;
	Int64 n = 0;
	for (Int32 i = 0; i < _count; ++i)
	{
		if (_records[i].duplicate)
			continue;
		points[n++] = _records[i].first;
		points[n++] = _records[i].second;
	}
	std::sort(points, points + n);
	auto uses = [&](Int32 p) {
		const auto range = std::equal_range(points, points + n, p);
		return static_cast<Int32>(range.second - range.first);
	};
	for (Int32 i = 0; i < _count; ++i)
	{
		EdgeRecord& r = _records[i];
		if (r.duplicate)
			continue;
		r.firstShared = uses(r.first) - 1;
		r.secondShared = uses(r.second) - 1;
	}
	DeleteMem(points);
	return true;
}
