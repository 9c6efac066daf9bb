#include "Attachment.h"

#include <algorithm>
#include <cmath>

#include "EdgeChains.h"
#include "KernelTags.h"
#include "StrokeTypes.h"
#include "hostapi/objects.h"

ChainSet::ChainSet() : _points(LOOMSURFACE_SOURCE), _start(LOOMSURFACE_SOURCE)
{
}

Int32 ChainSet::GetCount(Int32 chain) const
{
	const Int64 end = chain + 1 < GetChainCount() ? _start[chain + 1] : _points.GetCount();
	return static_cast<Int32>(end - _start[chain]);
}

bool ChainSet::AddChain(const ChainPoint* points, Int32 count)
{
	if (!points || count <= 0 || !_points.Reserve(_points.GetCount() + count) || !_start.Append(_points.GetCount()))
		return false;
	for (Int32 i = 0; i < count; ++i)
		_points.Append(points[i]);
	return true;
}

void ChainSet::Clear()
{
	_points.Clear();
	_start.Clear();
}

bool ChainSet::Read(const EdgeChains& chains, const PolygonObject* op, const Matrix& mg)
{
	Clear();
	if (!op)
		return false;
	const Int32 pointCount = op->GetPointCount();
	const Vector* points = op->GetPointR();
	for (Int32 c = 0; c < chains.chainCount; ++c)
	{
		const EdgeChain& chain = chains.chains[c];
		if (chain.count <= 0)
			continue;
		if (!_points.Reserve(_points.GetCount() + chain.count) || !_start.Append(_points.GetCount()))
			return false;
		for (Int32 i = 0; i < chain.count; ++i)
		{
			const Int32 index = chain.points[i];
			if (index < 0 || index >= pointCount || !points)
				return false;
			ChainPoint p;
			// The same product the edge-point picking makes, so a stroke end snapped onto a chain
			// point compares equal to it bit for bit.
			p.world = mg * points[index];
			p.index = index;
			_points.Append(p);
		}
	}
	return true;
}

ChainPointIndex::ChainPointIndex() : _entries(LOOMSURFACE_SOURCE)
{
}

namespace
{
bool Finite(const Vector& v)
{
	return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool PosLess(const Vector& a, const Vector& b)
{
	if (a.x != b.x)
		return a.x < b.x;
	if (a.y != b.y)
		return a.y < b.y;
	return a.z < b.z;
}
} // namespace

bool ChainPointIndex::Build(const ChainSet& chains)
{
	_entries.Clear();
	for (Int32 c = 0; c < chains.GetChainCount(); ++c)
	{
		for (Int32 i = 0; i < chains.GetCount(c); ++i)
		{
			// A point that is not finite never equals a stroke end, and would break the ordering.
			const Vector& p = chains.At(c, i).world;
			if (Finite(p) && !_entries.Append(Entry{p, c, i}))
				return false;
		}
	}
	std::sort(_entries.begin(), _entries.end(), [](const Entry& a, const Entry& b) {
		if (PosLess(a.pos, b.pos))
			return true;
		if (PosLess(b.pos, a.pos))
			return false;
		return a.chain != b.chain ? a.chain < b.chain : a.position < b.position;
	});
	return true;
}

ChainHit ChainPointIndex::Find(const Vector& p) const
{
	ChainHit hit;
	if (!Finite(p))
		return hit;
	// The last entry at p: the latest chain, and the latest point within it.
	const Entry* end = std::upper_bound(_entries.begin(), _entries.end(), p, [](const Vector& v, const Entry& e) { return PosLess(v, e.pos); });
	if (end == _entries.begin())
		return hit;
	const Entry& e = *(end - 1);
	if (e.pos == p)
	{
		hit.chain = e.chain;
		hit.position = e.position;
	}
	return hit;
}

void MatchStrokeEnds(const ChainPointIndex& index, const Stroke* strokes, Int32 strokeCount, ChainHit* hits)
{
	for (Int32 i = 0; i < strokeCount; ++i)
	{
		hits[2 * i] = ChainHit();
		hits[2 * i + 1] = ChainHit();
		const Stroke& s = strokes[i];
		if (s.GetCount() == 0)
			continue;
		hits[2 * i] = index.Find(s[0].pos);
		hits[2 * i + 1] = index.Find(s[s.GetCount() - 1].pos);
	}
}

namespace
{
enum : Int32
{
	END_FIRST = 0,
	END_LAST = 1,
};

Int32 EndPosition(const ChainSet& chains, Int32 chain, Int32 end)
{
	return end == END_FIRST ? 0 : chains.GetCount(chain) - 1;
}

// Kind 3: another chain that starts (taken forwards) or ends (taken backwards) where A ends.
bool FindChainFromEndOf(const ChainSet& chains, Int32 a, ChainRun* run)
{
	const Int32 joint = chains.LastIndex(a);
	for (Int32 r = 0; r < chains.GetChainCount(); ++r)
	{
		if (r == a)
			continue;
		const Int32 last = chains.GetCount(r) - 1;
		if (chains.FirstIndex(r) == joint)
		{
			*run = ChainRun{r, 0, last};
			return true;
		}
		if (chains.LastIndex(r) == joint)
		{
			*run = ChainRun{r, last, 0};
			return true;
		}
	}
	return false;
}

// Kind 4: a further chain joining an end of A to an end of B. *aEnd and *bEnd receive which end
// of A and of B it meets; the run goes from its A end to its B end.
bool FindJoiningChain(const ChainSet& chains, Int32 a, Int32 b, Int32* aEnd, Int32* bEnd, ChainRun* run)
{
	for (Int32 c = 0; c < chains.GetChainCount(); ++c)
	{
		if (c == a || c == b)
			continue;
		const Int32 cFirst = chains.FirstIndex(c), cLast = chains.LastIndex(c);
		Int32 atA = -1, cEndAtA = -1;
		if (cFirst == chains.FirstIndex(a))
			atA = END_FIRST, cEndAtA = END_FIRST;
		else if (cLast == chains.FirstIndex(a))
			atA = END_FIRST, cEndAtA = END_LAST;
		else if (chains.LastIndex(a) == cFirst)
			atA = END_LAST, cEndAtA = END_FIRST;
		else if (chains.LastIndex(a) == cLast)
			atA = END_LAST, cEndAtA = END_LAST;
		else
			continue;
		const Int32 other = cEndAtA == END_FIRST ? cLast : cFirst;
		Int32 atB = -1;
		if (chains.FirstIndex(b) == other)
			atB = END_FIRST;
		else if (chains.LastIndex(b) == other)
			atB = END_LAST;
		else
			continue;
		*aEnd = atA;
		*bEnd = atB;
		const Int32 from = EndPosition(chains, c, cEndAtA);
		*run = ChainRun{c, from, from == 0 ? chains.GetCount(c) - 1 : 0};
		return true;
	}
	return false;
}

Float NearestDistance(const ChainSet& chains, Int32 chain, const Vector& p)
{
	Float best = -1.0;
	for (Int32 i = 0; i < chains.GetCount(chain); ++i)
	{
		const Float d = (chains.At(chain, i).world - p).GetSquaredLength();
		if (best < 0.0 || d < best)
			best = d;
	}
	return best;
}

// The chain taken in the direction the first stroke runs, so that the rows do not cross.
ChainRun AlongStroke(const ChainSet& chains, Int32 chain, const Vector& first0, const Vector& last0)
{
	const Int32 last = chains.GetCount(chain) - 1;
	const Vector head = chains.At(chain, 0).world, tail = chains.At(chain, last).world;
	const Float same = (head - first0).GetLength() + (tail - last0).GetLength();
	const Float crossed = (head - last0).GetLength() + (tail - first0).GetLength();
	return crossed < same ? ChainRun{chain, last, 0} : ChainRun{chain, 0, last};
}
} // namespace

Attachment ClassifyAttachment(const ChainSet& chains, const ChainHit* hits, Int32 strokeCount, const Vector& first0, const Vector& last0)
{
	Attachment at;
	if (!hits || strokeCount <= 0 || chains.GetChainCount() == 0)
		return at;
	const ChainHit& f0 = hits[0];
	const ChainHit& l0 = hits[1];
	const ChainHit& fk = hits[2 * (strokeCount - 1)];
	const ChainHit& lk = hits[2 * (strokeCount - 1) + 1];

	if (!f0.Found())
	{
		if (chains.GetChainCount() != 2)
			return at;
		at.kind = ATTACH_BETWEEN_CHAINS;
		const bool secondNearer = NearestDistance(chains, 1, first0) < NearestDistance(chains, 0, first0);
		const Int32 nearChain = secondNearer ? 1 : 0;
		at.outer[0] = AlongStroke(chains, nearChain, first0, last0);
		at.outer[1] = AlongStroke(chains, 1 - nearChain, first0, last0);
		// Both chains are rows of one grid, so they must have as many points as each other.
		at.usable = chains.GetCount(0) == chains.GetCount(1) && chains.GetCount(0) >= 2;
		return at;
	}

	const Int32 a = f0.chain;
	if (!l0.Found())
	{
		if (FindChainFromEndOf(chains, a, &at.closing))
		{
			at.kind = ATTACH_RAIL_CLOSED;
			at.rails[0] = ChainRun{a, f0.position, chains.GetCount(a) - 1};
			at.usable = at.closing.GetCount() >= 2;
			return at;
		}
		at.kind = ATTACH_RAIL;
		// The rail runs to where the last stroke starts; a last stroke off A leaves no rail.
		if (fk.chain != a)
		{
			at.usable = false;
			return at;
		}
		at.rails[0] = ChainRun{a, f0.position, fk.position};
		at.usable = at.rails[0].GetCount() >= 2;
		return at;
	}

	const Int32 b = l0.chain;
	Int32 aEnd = -1, bEnd = -1;
	if (FindJoiningChain(chains, a, b, &aEnd, &bEnd, &at.closing))
	{
		at.kind = ATTACH_TWO_RAILS_CLOSED;
		at.rails[0] = ChainRun{a, f0.position, EndPosition(chains, a, aEnd)};
		at.rails[1] = ChainRun{b, l0.position, EndPosition(chains, b, bEnd)};
		at.usable = at.rails[0].GetCount() == at.rails[1].GetCount() && at.closing.GetCount() >= 2;
		return at;
	}
	if (fk.chain == a && lk.chain == b)
	{
		at.kind = ATTACH_TWO_RAILS;
		at.rails[0] = ChainRun{a, f0.position, fk.position};
		at.rails[1] = ChainRun{b, l0.position, lk.position};
		at.usable = at.rails[0].GetCount() == at.rails[1].GetCount() && at.rails[0].GetCount() >= 2;
		return at;
	}
	return at;
}
