// Modeling::Commit: the pending points and polygons reach the object together, with its UVW tags
// and selections kept consistent.
//
// What a commit keeps:
//   - points keep their indices; the added ones follow, unselected;
//   - polygons keep their indices; a polygon that received split points becomes pieces
//     (ngon_pieces.h), the first at its index and the rest appended after the created polygons;
//   - every UVW tag keeps one record per polygon: created polygons get zero records, pieces of a
//     split polygon the original's coordinates, interpolated along the sides for split points;
//   - selections of untouched polygons stay; pieces of a split polygon are deselected, or with
//     MODELING_COMMIT_RESTORE take the original's polygon selection, and its edge selection on
//     every piece side that lies along a selected original side; entries beyond the counts before
//     the commit (which would name the new elements) are dropped.
// Unless MODELING_COMMIT_NOVALIDATION is given, a created polygon that repeats a point (other
// than a triangle's c == d) fails the commit.
#include <algorithm>
#include <bit>
#include <new>

#include "modeling/kernel_data.h"
#include "scene/object_data.h"
#include "scene/tag_data.h"

namespace modeling
{
namespace
{

// One polygon that had split points, turned into pieces.
struct SplitResult
{
	Int32 original = 0;
	std::vector<RingPoint> ring;
	std::vector<CPolygon> pieces;
	std::vector<Int32> indices; // of the pieces in the committed object
};

struct Prepared
{
	ObjectWork* work = nullptr;
	scene::PolygonObjectData* obj = nullptr;
	Int32 finalPoints = 0;
	Int32 finalPolygons = 0;
	std::vector<std::pair<Int32, CPolygon>> replaced; // existing polygons given their first piece
	std::vector<CPolygon> tail;                        // from index basePolygons on
	std::vector<scene::UVWTagData*> tags;
	std::vector<std::vector<std::pair<Int32, UVWStruct>>> records; // per tag: index, record
	scene::BaseSelectData points, polygons, edges;
};

// Drops selected indices at or above limit.
void CutFrom(scene::BaseSelectData& sel, Int64 limit)
{
	while (!sel.ranges.empty() && sel.ranges.back().second >= limit)
	{
		auto& last = sel.ranges.back();
		if (last.first >= limit)
		{
			sel.count -= Int64{last.second} - last.first + 1;
			sel.ranges.pop_back();
		}
		else
		{
			sel.count -= Int64{last.second} - limit + 1;
			last.second = static_cast<Int32>(limit - 1);
		}
	}
}

bool RepeatsAPoint(const CPolygon& p)
{
	if (p.c == p.d)
		return p.a == p.b || p.a == p.c || p.b == p.c;
	return p.a == p.b || p.a == p.c || p.a == p.d || p.b == p.c || p.b == p.d || p.c == p.d;
}

Vector Lerp(const Vector& a, const Vector& b, Float t) { return a + (b - a) * t; }

// Texture coordinates of every ring point of a split polygon, from the original's record.
std::vector<std::pair<Int32, Vector>> RingCoordinates(const SplitResult& s, const UVWStruct& record, const ObjectWork& w)
{
	std::vector<std::pair<Int32, Vector>> uv;
	const Vector corners[4] = {record.a, record.b, record.c, record.d};
	std::vector<Int32> inserted;
	Int32 corner = 0;
	for (const RingPoint& r : s.ring)
	{
		if (std::popcount(r.sides) == 2)
			uv.emplace_back(r.point, corners[corner++]);
		else
			inserted.push_back(r.point);
	}
	auto find = [&uv](Int32 point) {
		for (const auto& [p, v] : uv)
			if (p == point)
				return v;
		return Vector();
	};
	// A split point lies between two points of the ring made before it, so in the order they were
	// made every split point finds both.
	std::sort(inserted.begin(), inserted.end());
	for (Int32 point : inserted)
	{
		auto it = w.splits.find(point);
		const Vector v = it == w.splits.end() ? Vector() : Lerp(find(it->second.from), find(it->second.to), it->second.t);
		uv.emplace_back(point, v);
	}
	return uv;
}

UVWStruct PieceRecord(const CPolygon& piece, const std::vector<std::pair<Int32, Vector>>& uv)
{
	auto find = [&uv](Int32 point) {
		for (const auto& [p, v] : uv)
			if (p == point)
				return v;
		return Vector();
	};
	return UVWStruct{find(piece.a), find(piece.b), find(piece.c), find(piece.d)};
}

std::uint8_t SidesOf(const SplitResult& s, Int32 point)
{
	for (const RingPoint& r : s.ring)
		if (r.point == point)
			return r.sides;
	return 0;
}

// Pieces take the original's selections (RESTORE) or none.
bool CarrySelections(Prepared& p, const SplitResult& s, bool restore)
{
	const Int32 orig = s.original;
	const bool selected = p.polygons.Contains(orig);
	bool sideSelected[4];
	for (Int32 k = 0; k < 4; ++k)
		sideSelected[k] = p.edges.Contains(4 * orig + k);
	bool ok = p.polygons.Erase(orig);
	for (Int32 k = 0; k < 4; ++k)
		ok = p.edges.Erase(4 * orig + k) && ok;
	if (!ok || !restore)
		return ok;
	for (size_t i = 0; i < s.pieces.size(); ++i)
	{
		const CPolygon& piece = s.pieces[i];
		const Int32 index = s.indices[i];
		if (selected && !p.polygons.Add(index))
			return false;
		const bool triangle = piece.c == piece.d;
		for (Int32 side = 0; side < 4; ++side)
		{
			if (triangle && side == 2)
				continue;
			const Int32 u = Corner(piece, side);
			const Int32 v = Corner(piece, (side + 1) % 4);
			const std::uint8_t common = SidesOf(s, u) & SidesOf(s, v);
			for (Int32 k = 0; k < 4; ++k)
			{
				if ((common & (1u << k)) && sideSelected[k] && !p.edges.Add(4 * index + side))
					return false;
			}
		}
	}
	return true;
}

bool Prepare(ObjectWork& w, Int32 flags, Prepared& p)
{
	p.work = &w;
	p.obj = ObjectOfWork(w);
	scene::PolygonObjectData* obj = p.obj;
	if (!obj || static_cast<Int32>(obj->points.size()) != w.basePoints || static_cast<Int32>(obj->polygons.size()) != w.basePolygons)
		return false;
	if (!(flags & MODELING_COMMIT_NOVALIDATION))
	{
		for (const CPolygon& c : w.polygons)
			if (RepeatsAPoint(c))
				return false;
	}

	auto position = [&w, obj](Int32 i) {
		return i < w.basePoints ? obj->points[static_cast<size_t>(i)] : w.points[static_cast<size_t>(i - w.basePoints)];
	};
	p.tail = w.polygons;
	std::vector<Int32> keys;
	for (const auto& [index, inserts] : w.inserts)
		if (!inserts.Empty())
			keys.push_back(index);
	std::sort(keys.begin(), keys.end());
	std::vector<SplitResult> splits(keys.size());
	for (size_t i = 0; i < keys.size(); ++i)
	{
		SplitResult& s = splits[i];
		s.original = keys[i];
		const CPolygon& polygon = s.original < w.basePolygons ? obj->polygons[static_cast<size_t>(s.original)] : w.polygons[static_cast<size_t>(s.original - w.basePolygons)];
		const SideInserts& inserts = w.inserts.at(s.original);
		s.ring = BuildRing(polygon, inserts);
		SplitPolygon(polygon, inserts, position, s.pieces);
		for (size_t j = 0; j < s.pieces.size(); ++j)
		{
			if (j == 0)
			{
				s.indices.push_back(s.original);
				if (s.original < w.basePolygons)
					p.replaced.emplace_back(s.original, s.pieces[0]);
				else
					p.tail[static_cast<size_t>(s.original - w.basePolygons)] = s.pieces[0];
			}
			else
			{
				if (static_cast<Int64>(w.basePolygons) + static_cast<Int64>(p.tail.size()) >= scene::kMaxElements)
					return false;
				s.indices.push_back(w.basePolygons + static_cast<Int32>(p.tail.size()));
				p.tail.push_back(s.pieces[j]);
			}
		}
	}
	p.finalPoints = w.PointTotal();
	p.finalPolygons = w.basePolygons + static_cast<Int32>(p.tail.size());
	if (p.finalPoints > scene::kMaxElements || p.finalPolygons > scene::kMaxElements)
		return false;

	for (scene::NodeCore* t = obj->tags.first; t; t = t->next)
	{
		if (t->type != Tuvw)
			continue;
		auto* tag = static_cast<scene::UVWTagData*>(t);
		tag->uvw.reserve(static_cast<size_t>(p.finalPolygons));
		p.tags.push_back(tag);
		std::vector<std::pair<Int32, UVWStruct>>& records = p.records.emplace_back();
		for (const SplitResult& s : splits)
		{
			// Created polygons have zero records, and so have their pieces.
			if (s.original >= w.basePolygons)
				continue;
			const UVWStruct original = static_cast<size_t>(s.original) < tag->uvw.size() ? tag->uvw[static_cast<size_t>(s.original)] : UVWStruct();
			const auto uv = RingCoordinates(s, original, w);
			for (size_t j = 0; j < s.pieces.size(); ++j)
				records.emplace_back(s.indices[j], PieceRecord(s.pieces[j], uv));
		}
	}

	p.points = obj->pointSelection;
	p.polygons = obj->polygonSelection;
	p.edges = obj->edgeSelection;
	CutFrom(p.points, w.basePoints);
	CutFrom(p.polygons, w.basePolygons);
	CutFrom(p.edges, 4 * Int64{w.basePolygons});
	const bool restore = (flags & MODELING_COMMIT_RESTORE) != 0;
	for (const SplitResult& s : splits)
	{
		if (s.original < w.basePolygons && !CarrySelections(p, s, restore))
			return false;
	}

	obj->points.reserve(static_cast<size_t>(p.finalPoints));
	obj->polygons.reserve(static_cast<size_t>(p.finalPolygons));
	return true;
}

// Nothing here allocates: Prepare reserved every array.
void Apply(Prepared& p)
{
	ObjectWork& w = *p.work;
	scene::PolygonObjectData* obj = p.obj;
	// Through the object's own resize, which tells whoever keeps data derived from the geometry.
	static_cast<PolygonObject*>(static_cast<BaseObject*>(obj))->ResizeObject(p.finalPoints, p.finalPolygons);
	std::copy(w.points.begin(), w.points.end(), obj->points.begin() + w.basePoints);
	for (const auto& [index, polygon] : p.replaced)
		obj->polygons[static_cast<size_t>(index)] = polygon;
	std::copy(p.tail.begin(), p.tail.end(), obj->polygons.begin() + w.basePolygons);
	for (size_t i = 0; i < p.tags.size(); ++i)
	{
		std::vector<UVWStruct>& uvw = p.tags[i]->uvw;
		uvw.resize(static_cast<size_t>(w.basePolygons));
		uvw.resize(static_cast<size_t>(p.finalPolygons));
		for (const auto& [index, record] : p.records[i])
			uvw[static_cast<size_t>(index)] = record;
	}
	auto take = [](scene::BaseSelectData& into, scene::BaseSelectData& from) {
		into.ranges.swap(from.ranges);
		into.count = from.count;
	};
	take(obj->pointSelection, p.points);
	take(obj->polygonSelection, p.polygons);
	take(obj->edgeSelection, p.edges);
	w.Rebase(p.finalPoints, p.finalPolygons);
}

} // namespace

bool CommitWorks(const std::vector<ObjectWork*>& works, Int32 flags)
{
	std::vector<Prepared> prepared(works.size());
	try
	{
		for (size_t i = 0; i < works.size(); ++i)
		{
			if (!Prepare(*works[i], flags, prepared[i]))
				return false;
		}
	}
	catch (const std::bad_alloc&)
	{
		return false;
	}
	for (Prepared& p : prepared)
		Apply(p);
	return true;
}

} // namespace modeling
