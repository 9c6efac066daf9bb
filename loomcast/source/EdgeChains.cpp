// Border runs of an edge selection. Each selected edge knows the polygons across the sides before
// and after it in its polygon's corner order; where such a polygon holds another selected edge the
// two edges continue each other. Runs start at edges without a predecessor.
#include "Dtool.h"

#include "EdgeRecords.h"
#include "HostHandle.h"
#include "KernelTags.h"
#include "Normals.h"
#include "hostapi/memory.h"

EdgeChains::~EdgeChains()
{
	ReleaseEdgeChains(*this);
}

void ReleaseEdgeChains(EdgeChains& chains)
{
	if (chains.chains)
	{
		for (Int32 i = 0; i < chains.chainCount; ++i)
			DeleteMem(chains.chains[i].points);
		DeleteMem(chains.chains);
	}
	chains.chainCount = 0;
	chains.meanNormal = Vector();
	chains.mark = -1;
}

void DTOOL::ClearEdgeChains(EdgeChains& chains)
{
	ReleaseEdgeChains(chains);
}

namespace
{
struct ChainRow
{
	Int32 polygon = 0;
	Int32 first = 0, second = 0;
	Int32 pred = -1, succ = -1;
	bool used = false;
};

// The polygons across the sides before and after the selected side of row's polygon (-1 on a
// border, or when the selected points are not neighbouring corners of it).
void FindNeighbours(const CPolygon& q, const Neighbor* nb, ChainRow& row)
{
	const Int32 corners[4] = {q.a, q.b, q.c, q.d};
	const Int32 n = q.IsTriangle() ? 3 : 4;
	Int32 side = -1;
	for (Int32 i = 0; i < n && side < 0; ++i)
	{
		if (corners[i] != row.first)
			continue;
		if (corners[(i + 1) % n] == row.second)
			side = i;
		else if (corners[(i + n - 1) % n] == row.second)
			side = (i + n - 1) % n;
	}
	if (side < 0)
		return;
	auto across = [&](Int32 s) {
		return nb->GetNeighbor(corners[s], corners[(s + 1) % n], row.polygon);
	};
	row.succ = across((side + 1) % n);
	row.pred = across((side + n - 1) % n);
}

// The first row (in table order) on the polygon, or -1.
Int32 RowOfPolygon(const ChainRow* rows, Int32 count, Int32 polygon)
{
	for (Int32 i = 0; i < count; ++i)
		if (rows[i].polygon == polygon)
			return i;
	return -1;
}
} // namespace

bool DTOOL::BuildEdgeChains(EdgeChains& chains, BaseDocument* doc, BaseObject* object)
{
	ReleaseEdgeChains(chains);
	if (!doc || !object || !object->IsInstanceOf(Opolygon) || doc->GetMode() != Medges)
		return false;
	const PolygonObject* op = static_cast<const PolygonObject*>(object);

	// One row per selected edge; an edge selected on both of its polygons is one edge.
	EdgeRecordList records;
	if (!records.Collect(op) || !records.MarkDuplicates())
		return false;
	Int32 rowCount = 0;
	for (Int32 i = 0; i < records.GetCount(); ++i)
		rowCount += records[i].duplicate ? 0 : 1;
	if (rowCount == 0)
		return false;

	HostArray<ChainRow> rows(DTOOL_SOURCE);
	HostArray<Int32> order(DTOOL_SOURCE);
	HostHandle<Neighbor> nb(Neighbor::Alloc());
	if (!rows.Resize(rowCount) || !order.Resize(rowCount) || !nb || !nb->Init(op->GetPointCount(), op->GetPolygonR(), op->GetPolygonCount()))
		return false;
	for (Int32 i = 0, r = 0; i < records.GetCount(); ++i)
	{
		if (records[i].duplicate)
			continue;
		rows[r] = ChainRow();
		rows[r].polygon = records[i].edge / 4;
		rows[r].first = records[i].first;
		rows[r].second = records[i].second;
		++r;
	}
	const CPolygon* polys = op->GetPolygonR();
	for (Int32 i = 0; i < rowCount; ++i)
	{
		FindNeighbours(polys[rows[i].polygon], nb.Get(), rows[i]);
		// A neighbour counts only when it holds a selected edge itself.
		if (rows[i].succ >= 0 && RowOfPolygon(rows.Data(), rowCount, rows[i].succ) < 0)
			rows[i].succ = -1;
		if (rows[i].pred >= 0 && RowOfPolygon(rows.Data(), rowCount, rows[i].pred) < 0)
			rows[i].pred = -1;
	}

	Int32 starts = 0;
	for (Int32 i = 0; i < rowCount; ++i)
		starts += rows[i].pred < 0 ? 1 : 0;
	if (starts == 0)
	{
		// Only closed loops: nothing to attach to, but the selection itself was read fine.
		return true;
	}
	chains.chains = NewMemClear(EdgeChain, starts, DTOOL_SOURCE);
	if (!chains.chains)
		return false;

	Vector normalSum;
	Int32 normalCount = 0;
	for (Int32 c = 0; c < starts; ++c)
	{
		// Follow successors from the next unused start; an already used row ends the run.
		Int32 next = -1;
		for (Int32 i = 0; i < rowCount && next < 0; ++i)
			if (!rows[i].used && rows[i].pred < 0)
				next = i;
		if (next < 0)
			break; // every remaining start was taken into an earlier run
		Int32 h = 0;
		while (next >= 0 && !rows[next].used)
		{
			rows[next].used = true;
			order[h++] = next;
			next = rows[next].succ < 0 ? -1 : RowOfPolygon(rows.Data(), rowCount, rows[next].succ);
		}
		EdgeChain& chain = chains.chains[chains.chainCount];
		chain.points = NewMemClear(Int32, h + 1, DTOOL_SOURCE);
		if (!chain.points)
		{
			ReleaseEdgeChains(chains);
			return false;
		}
		chain.count = h + 1;
		++chains.chainCount;
		for (Int32 k = 0; k < h; ++k)
		{
			chain.points[k] = rows[order[k]].first;
			normalSum += VertexNormal(op, rows[order[k]].first);
			++normalCount;
		}
		chain.points[h] = rows[order[h - 1]].second;
	}
	chains.meanNormal = normalCount > 0 ? normalSum / static_cast<Float>(normalCount) : Vector();
	return true;
}
