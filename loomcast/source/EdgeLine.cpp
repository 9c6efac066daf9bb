// The edge line of polygon splitting: a walk along the selected edges from the free end nearest to
// a point, and the free end under the mouse.
#include "Dtool.h"

#include "EdgeRecords.h"
#include "HostHandle.h"
#include "KernelTags.h"
#include "hostapi/memory.h"

EdgeLineData::~EdgeLineData()
{
	ReleaseEdgeLine(*this);
}

PolygonObject* EdgeLineData::GetObject(BaseDocument* doc) const
{
	if (!object)
		return nullptr;
	BaseList2D* element = object->GetLink(doc);
	if (!element || !element->IsInstanceOf(Opolygon))
		return nullptr;
	return static_cast<PolygonObject*>(element);
}

bool EdgeLineData::Append(Int32 point, const Vector& base)
{
	EdgeLineNode* node = NewObjTagged(EdgeLineNode, DTOOL_SOURCE);
	if (!node)
		return false;
	node->point = point;
	node->base = base;
	if (tail)
		tail->next = node;
	else
		head = node;
	tail = node;
	++pointCount;
	return true;
}

EdgeLineNode* EdgeLineData::NodeAt(Int32 i) const
{
	if (i < 0 || i >= pointCount)
		return nullptr;
	EdgeLineNode* node = head;
	for (; node && i > 0; --i)
		node = node->next;
	return node;
}

void ReleaseEdgeLine(EdgeLineData& line)
{
	while (line.head)
	{
		EdgeLineNode* next = line.head->next;
		DeleteObj(line.head);
		line.head = next;
	}
	line.tail = nullptr;
	line.pointCount = 0;
	if (line.object)
		BaseLink::Free(line.object);
}

void DTOOL::ClearEdgeLine(EdgeLineData& line)
{
	ReleaseEdgeLine(line);
}

namespace
{
// Records, duplicate marks and shared-end counters of op's selection; false when memory is short.
bool ReadEdgeRuns(const PolygonObject* op, EdgeRecordList& records)
{
	return records.Collect(op) && records.MarkDuplicates() && records.CountSharedEnds();
}
} // namespace

bool DTOOL::BuildEdgeLine(EdgeLineData& line, PolygonObject* op, const Vector& p)
{
	ReleaseEdgeLine(line);
	if (!op || !op->IsInstanceOf(Opolygon))
		return false;
	EdgeRecordList records;
	if (!ReadEdgeRuns(op, records) || records.GetCount() == 0)
		return false;
	const Int32 count = records.GetCount();
	const Matrix mg = op->GetMg();
	const Vector* points = op->GetPointR();

	// The start: the free end nearest to p; the earlier candidate wins a tie.
	Int32 startRecord = -1, startPoint = -1;
	Float best = 0.0;
	for (Int32 i = 0; i < count; ++i)
	{
		const EdgeRecord& r = records[i];
		if (r.duplicate)
			continue;
		const Int32 ends[2] = {r.firstShared == 0 ? r.first : -1, r.secondShared == 0 ? r.second : -1};
		for (const Int32 end : ends)
		{
			if (end < 0)
				continue;
			const Float d = (mg * points[end] - p).GetLength();
			if (startRecord < 0 || d < best)
			{
				startRecord = i;
				startPoint = end;
				best = d;
			}
		}
	}
	if (startRecord < 0)
		return false; // only closed loops

	HostArray<bool> used(DTOOL_SOURCE);
	line.object = BaseLink::Alloc();
	if (!used.Resize(count) || !line.object)
	{
		ReleaseEdgeLine(line);
		return false;
	}
	line.object->SetLink(op);

	auto append = [&](Int32 point) { return line.Append(point, mg * points[point]); };
	used[startRecord] = true;
	Int32 end = records[startRecord].first == startPoint ? records[startRecord].second : records[startRecord].first;
	bool ok = append(startPoint);
	for (bool grew = true; ok && grew;)
	{
		grew = false;
		for (Int32 i = 0; ok && i < count; ++i)
		{
			const EdgeRecord& r = records[i];
			if (r.duplicate || used[i] || (r.first != end && r.second != end))
				continue;
			ok = append(end);
			used[i] = true;
			end = r.first == end ? r.second : r.first;
			grew = true;
		}
	}
	ok = ok && append(end);
	if (!ok)
	{
		ReleaseEdgeLine(line);
		return false;
	}
	return true;
}

bool DTOOL::OpenEndUnderCursor(PolygonObject* op, BaseDraw* bd, Float x, Float y, Vector* pos, Int32* found, Int32* point)
{
	if (!op || !bd || !op->IsInstanceOf(Opolygon))
		return false;
	EdgeRecordList records;
	if (!ReadEdgeRuns(op, records))
		return false;
	const Matrix mg = op->GetMg();
	const Vector* points = op->GetPointR();
	for (Int32 i = 0; i < records.GetCount(); ++i)
	{
		const EdgeRecord& r = records[i];
		if (r.duplicate)
			continue;
		const Int32 ends[2] = {r.firstShared == 0 ? r.first : -1, r.secondShared == 0 ? r.second : -1};
		for (const Int32 end : ends)
		{
			if (end < 0)
				continue;
			const Vector world = mg * points[end];
			if (!PointNearPixel(bd, world, x, y))
				continue;
			if (pos)
				*pos = world;
			if (found)
				*found = 1;
			if (point)
				*point = end;
			return true;
		}
	}
	return false;
}

bool DTOOL::EdgeRunsForward(Int32 a, Int32 b, PolygonObject* op)
{
	if (!op)
		return false;
	HostHandle<Neighbor> nb(Neighbor::Alloc());
	if (!nb || !nb->Init(op->GetPointCount(), op->GetPolygonR(), op->GetPolygonCount()))
		return false;
	bool forward = true;
	const Int32 pointCount = op->GetPointCount();
	Int32 first = -1, second = -1;
	if (a >= 0 && b >= 0 && a < pointCount && b < pointCount)
		nb->GetEdgePolys(a, b, &first, &second);
	if (first >= 0 && first < op->GetPolygonCount())
	{
		const CPolygon& q = op->GetPolygonR()[first];
		if (a == q.a)
			forward = b == q.b;
		else if (a == q.b)
			forward = b == q.c;
		else if (a == q.c)
			forward = q.IsTriangle() ? b == q.a : b == q.d;
		else if (a == q.d)
			forward = b == q.a;
	}
	return forward;
}
