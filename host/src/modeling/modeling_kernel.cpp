// The modelling kernel's calls: starting work on an object, adding points and polygons, splitting
// edges. Commit lives in kernel_commit.cpp.
//
// Work on an object is based on its point and polygon counts at InitObject. While nothing is
// pending the base follows the object (a commit, or someone else resizing it); once something is
// pending, an object whose counts changed under the work refuses further calls and the commit,
// because its indices would no longer mean what the caller meant.
#include <algorithm>
#include <cmath>
#include <new>

#include "modeling/kernel_data.h"
#include "modeling/modeling_log.h"
#include "scene/object_data.h"

using standin::ModelingCall;

namespace modeling
{

void ObjectWork::Rebase(Int32 pointCount, Int32 polygonCount)
{
	basePoints = pointCount;
	basePolygons = polygonCount;
	points.clear();
	polygons.clear();
	inserts.clear();
	splits.clear();
	indexed = false;
	firstOf.clear();
	polygonsOf.clear();
	extra.clear();
}

scene::PolygonObjectData* ObjectOfWork(const ObjectWork& w)
{
	scene::NodeCore* node = scene::NodeBySerial(w.serial);
	return node ? scene::PolygonDataOf(node->self) : nullptr;
}

namespace
{

Int32 CountOf(const std::vector<Vector>& v) { return static_cast<Int32>(v.size()); }
Int32 CountOf(const std::vector<CPolygon>& v) { return static_cast<Int32>(v.size()); }

// The work on op, in step with the object; nullptr when op was not initialised, was freed, or
// changed under pending work.
ObjectWork* WorkOf(Modeling* kernel, BaseObject* op)
{
	const scene::NodeCore* core = scene::CoreOf(op);
	if (!core)
		return nullptr;
	KernelData* k = KernelOf(kernel);
	auto it = k->work.find(core->serial);
	if (it == k->work.end())
		return nullptr;
	ObjectWork& w = it->second;
	const scene::PolygonObjectData* obj = ObjectOfWork(w);
	if (!obj)
	{
		k->work.erase(it);
		return nullptr;
	}
	const Int32 points = CountOf(obj->points);
	const Int32 polygons = CountOf(obj->polygons);
	if (points != w.basePoints || polygons != w.basePolygons)
	{
		if (w.Pending())
			return nullptr;
		w.Rebase(points, polygons);
	}
	return &w;
}

Vector PositionOf(const ObjectWork& w, const scene::PolygonObjectData& obj, Int32 point)
{
	return point < w.basePoints ? obj.points[static_cast<size_t>(point)] : w.points[static_cast<size_t>(point - w.basePoints)];
}

const CPolygon& PolygonOf(const ObjectWork& w, const scene::PolygonObjectData& obj, Int32 index)
{
	return index < w.basePolygons ? obj.polygons[static_cast<size_t>(index)] : w.polygons[static_cast<size_t>(index - w.basePolygons)];
}

void IndexCreated(ObjectWork& w, Int32 index, const CPolygon& p)
{
	const Int32 count = CornerCount(p);
	for (Int32 k = 0; k < count; ++k)
	{
		std::vector<Int32>& list = w.extra[Corner(p, k)];
		if (list.empty() || list.back() != index)
			list.push_back(index);
	}
}

// Polygons by point for SplitEdge: the object's polygons in a compact table (corners that name no
// point are left out), the created ones in extra.
void BuildIndex(ObjectWork& w, const scene::PolygonObjectData& obj)
{
	w.firstOf.assign(static_cast<size_t>(w.basePoints) + 1, 0);
	auto corners = [&w](const CPolygon& p, auto&& visit) {
		const Int32 count = CornerCount(p);
		for (Int32 k = 0; k < count; ++k)
		{
			const Int32 v = Corner(p, k);
			if (v >= 0 && v < w.basePoints)
				visit(v);
		}
	};
	for (const CPolygon& p : obj.polygons)
		corners(p, [&w](Int32 v) { ++w.firstOf[static_cast<size_t>(v) + 1]; });
	for (size_t i = 1; i < w.firstOf.size(); ++i)
		w.firstOf[i] += w.firstOf[i - 1];
	w.polygonsOf.assign(static_cast<size_t>(w.firstOf.back()), 0);
	std::vector<Int32> fill(w.firstOf.begin(), w.firstOf.end() - 1);
	for (Int32 i = 0; i < w.basePolygons; ++i)
		corners(obj.polygons[static_cast<size_t>(i)], [&](Int32 v) { w.polygonsOf[static_cast<size_t>(fill[static_cast<size_t>(v)]++)] = i; });
	for (size_t j = 0; j < w.polygons.size(); ++j)
		IndexCreated(w, w.basePolygons + static_cast<Int32>(j), w.polygons[j]);
	// Split points made before (the index is rebuilt after a failed split).
	for (const auto& [polygon, inserts] : w.inserts)
	{
		for (const std::vector<Int32>& side : inserts.side)
		{
			for (Int32 v : side)
			{
				std::vector<Int32>& list = w.extra[v];
				if (std::find(list.begin(), list.end(), polygon) == list.end())
					list.push_back(polygon);
			}
		}
	}
	w.indexed = true;
}

// Where edge a-b lies in a polygon's ring: the side and the position among that side's inserted
// points at which a point between a and b goes. false when the polygon has no such edge.
bool FindEdge(const CPolygon& p, const SideInserts* inserts, Int32 a, Int32 b, Int32* side, size_t* at)
{
	const Int32 count = CornerCount(p);
	for (Int32 k = 0; k < count; ++k)
	{
		static const std::vector<Int32> none;
		const std::vector<Int32>& mid = inserts ? inserts->side[k] : none;
		const size_t length = mid.size() + 2;
		auto chain = [&](size_t i) { return i == 0 ? Corner(p, k) : i == length - 1 ? Corner(p, (k + 1) % count) : mid[i - 1]; };
		for (size_t i = 0; i + 1 < length; ++i)
		{
			const Int32 u = chain(i);
			const Int32 v = chain(i + 1);
			if ((u == a && v == b) || (u == b && v == a))
			{
				*side = k;
				*at = i;
				return true;
			}
		}
	}
	return false;
}

} // namespace

} // namespace modeling

Modeling* Modeling::Alloc()
{
	return new (std::nothrow) modeling::KernelData;
}

void Modeling::Free(Modeling*& krnl)
{
	delete modeling::KernelOf(krnl);
	krnl = nullptr;
}

bool Modeling::InitObject(BaseObject* op, Int32 flags)
{
	const scene::PolygonObjectData* obj = scene::PolygonDataOf(op);
	bool ok = false;
	if (obj)
	{
		try
		{
			modeling::ObjectWork& w = modeling::KernelOf(this)->work[obj->serial];
			w.serial = obj->serial;
			w.Rebase(modeling::CountOf(obj->points), modeling::CountOf(obj->polygons));
			ok = true;
		}
		catch (const std::bad_alloc&)
		{
			ok = false;
		}
	}
	modeling::LogCall(ModelingCall::Kind::InitObject, op, flags, ok ? 1 : 0);
	return ok;
}

Int32 Modeling::AddPoint(BaseObject* op, const Vector& p)
{
	modeling::ObjectWork* w = modeling::WorkOf(this, op);
	if (!w || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) || w->PointTotal() >= scene::kMaxElements)
		return -1;
	try
	{
		w->points.push_back(p);
	}
	catch (const std::bad_alloc&)
	{
		return -1;
	}
	return w->PointTotal() - 1;
}

Int32 Modeling::CreateNgon(BaseObject* op, const Int32* padr, Int32 count, Int32 flags)
{
	modeling::ObjectWork* w = modeling::WorkOf(this, op);
	Int32 index = -1;
	if (w && padr && (count == 3 || count == 4) && w->PolygonTotal() < scene::kMaxElements &&
		std::all_of(padr, padr + count, [w](Int32 v) { return v >= 0 && v < w->PointTotal(); }))
	{
		const CPolygon p = count == 3 ? CPolygon(padr[0], padr[1], padr[2]) : CPolygon(padr[0], padr[1], padr[2], padr[3]);
		try
		{
			w->polygons.push_back(p);
			index = w->PolygonTotal() - 1;
			try
			{
				if (w->indexed)
					modeling::IndexCreated(*w, index, p);
			}
			catch (const std::bad_alloc&)
			{
				// Rebuilt in full at the next split instead.
				w->indexed = false;
				w->extra.clear();
			}
		}
		catch (const std::bad_alloc&)
		{
			index = -1;
		}
	}
	modeling::LogCall(ModelingCall::Kind::CreateNgon, op, flags, index);
	return index;
}

Int32 Modeling::SplitEdge(BaseObject* op, Int32 p1, Int32 p2, Float t)
{
	modeling::ObjectWork* w = modeling::WorkOf(this, op);
	Int32 result = -1;
	const scene::PolygonObjectData* obj = w ? modeling::ObjectOfWork(*w) : nullptr;
	if (obj && p1 != p2 && p1 >= 0 && p2 >= 0 && p1 < w->PointTotal() && p2 < w->PointTotal() && !std::isnan(t) &&
		w->PointTotal() < scene::kMaxElements)
	{
		// A fraction beyond the ends would put the point off the edge.
		t = std::clamp(t, 0.0, 1.0);
		try
		{
			if (!w->indexed)
				modeling::BuildIndex(*w, *obj);
			struct Hit
			{
				Int32 polygon;
				Int32 side;
				size_t at;
			};
			std::vector<Hit> hits;
			auto consider = [&](Int32 polygon) {
				for (const Hit& h : hits)
					if (h.polygon == polygon)
						return;
				auto found = w->inserts.find(polygon);
				Hit h{polygon, 0, 0};
				if (modeling::FindEdge(modeling::PolygonOf(*w, *obj, polygon), found == w->inserts.end() ? nullptr : &found->second, p1, p2, &h.side, &h.at))
					hits.push_back(h);
			};
			if (p1 < w->basePoints)
			{
				for (Int32 i = w->firstOf[static_cast<size_t>(p1)]; i < w->firstOf[static_cast<size_t>(p1) + 1]; ++i)
					consider(w->polygonsOf[static_cast<size_t>(i)]);
			}
			auto more = w->extra.find(p1);
			if (more != w->extra.end())
			{
				for (Int32 polygon : more->second)
					consider(polygon);
			}
			if (!hits.empty())
			{
				const Vector a = modeling::PositionOf(*w, *obj, p1);
				const Vector b = modeling::PositionOf(*w, *obj, p2);
				const Int32 point = w->PointTotal();
				// Everything that can fail first, so that a failure leaves the work as it was.
				std::vector<Int32> owners;
				owners.reserve(hits.size());
				std::vector<modeling::SideInserts*> targets;
				for (const Hit& h : hits)
				{
					modeling::SideInserts& ins = w->inserts[h.polygon];
					ins.side[h.side].reserve(ins.side[h.side].size() + 1);
					targets.push_back(&ins);
					owners.push_back(h.polygon);
				}
				std::vector<Int32>& extra = w->extra[point];
				w->splits.reserve(w->splits.size() + 1);
				w->points.reserve(w->points.size() + 1);
				w->points.push_back(a + (b - a) * t);
				w->splits.emplace(point, modeling::SplitPoint{p1, p2, t});
				for (size_t i = 0; i < hits.size(); ++i)
				{
					std::vector<Int32>& side = targets[i]->side[hits[i].side];
					side.insert(side.begin() + static_cast<std::ptrdiff_t>(hits[i].at), point);
				}
				extra.swap(owners);
				result = point;
			}
		}
		catch (const std::bad_alloc&)
		{
			// Only empty entries can have been added; the index is rebuilt at the next split.
			w->indexed = false;
			w->extra.clear();
			result = -1;
		}
	}
	modeling::LogCall(ModelingCall::Kind::SplitEdge, op, 0, result);
	return result;
}

bool Modeling::Commit(BaseObject* op, Int32 flags)
{
	bool ok = false;
	modeling::KernelData* k = modeling::KernelOf(this);
	std::vector<modeling::ObjectWork*> works;
	try
	{
		if (op)
		{
			if (modeling::ObjectWork* w = modeling::WorkOf(this, op))
				works.push_back(w);
		}
		else
		{
			// Work on objects freed since is dropped; an object that changed under pending work
			// fails the whole commit.
			bool inStep = true;
			std::vector<UInt64> serials;
			for (auto& [serial, w] : k->work)
				serials.push_back(serial);
			for (UInt64 serial : serials)
			{
				scene::NodeCore* node = scene::NodeBySerial(serial);
				if (!node || !scene::PolygonDataOf(node->self))
				{
					k->work.erase(serial);
					continue;
				}
				modeling::ObjectWork* w = modeling::WorkOf(this, static_cast<BaseObject*>(node->self));
				if (w)
					works.push_back(w);
				else
					inStep = false;
			}
			if (!inStep)
				works.clear();
			ok = inStep;
		}
		// Without UPDATE nothing would reach the object; that is not a successful commit.
		ok = (flags & MODELING_COMMIT_UPDATE) != 0 && (op ? !works.empty() : ok) && modeling::CommitWorks(works, flags);
	}
	catch (const std::bad_alloc&)
	{
		ok = false;
	}
	modeling::LogCall(ModelingCall::Kind::Commit, op, flags, ok ? 1 : 0);
	return ok;
}
