// How new surface attaches to the selected border chains of the mesh it is built on. The strokes'
// ends are matched exactly against the chain points; the ends of the first stroke decide the
// class, and with it which chains become rails (grid columns that reuse the mesh's points) and
// which chain closes the grid as its last row.
#pragma once

#include "hostapi/memory.h"
#include "hostapi/vector.h"

class PolygonObject;
struct EdgeChains;
class Stroke;

// One chain point: the mesh's point index and its world position.
struct ChainPoint
{
	Vector world;
	Int32 index = -1;
};

// The chains in their order, as one flat list of points.
class ChainSet
{
public:
	ChainSet();

	// The chains of `chains`, positions mapped to world space by mg from op's points. False when
	// memory is short or a chain names a point op does not have.
	bool Read(const EdgeChains& chains, const PolygonObject* op, const Matrix& mg);
	// Appends one chain; false when memory is short.
	bool AddChain(const ChainPoint* points, Int32 count);
	void Clear();

	Int32 GetChainCount() const { return static_cast<Int32>(_start.GetCount()); }
	Int32 GetCount(Int32 chain) const;
	const ChainPoint& At(Int32 chain, Int32 position) const { return _points[_start[chain] + position]; }
	Int32 FirstIndex(Int32 chain) const { return At(chain, 0).index; }
	Int32 LastIndex(Int32 chain) const { return At(chain, GetCount(chain) - 1).index; }

private:
	HostArray<ChainPoint> _points;
	HostArray<Int64> _start;
};

// A chain point found for a stroke end: the chain and the position in it; chain -1 for none.
struct ChainHit
{
	Int32 chain = -1;
	Int32 position = -1;
	bool Found() const { return chain >= 0; }
};

// The stretch of one chain from one position to another, walked forwards or backwards.
struct ChainRun
{
	Int32 chain = -1;
	Int32 from = 0;
	Int32 to = 0;

	bool IsSet() const { return chain >= 0; }
	Int32 GetCount() const { return (to >= from ? to - from : from - to) + 1; }
	Int32 PositionAt(Int32 i) const { return to >= from ? from + i : from - i; }
	const ChainPoint& PointAt(const ChainSet& chains, Int32 i) const { return chains.At(chain, PositionAt(i)); }
};

// Finds chain points by exact position. Among equal positions the last in chain order (and point
// order within a chain) wins, as if every chain point were tried in turn.
class ChainPointIndex
{
public:
	ChainPointIndex();
	// False when memory is short.
	bool Build(const ChainSet& chains);
	ChainHit Find(const Vector& p) const;

private:
	struct Entry
	{
		Vector pos;
		Int32 chain;
		Int32 position;
	};
	HostArray<Entry> _entries;
};

enum : Int32
{
	ATTACH_NONE = 0,          // a free surface from the strokes
	ATTACH_RAIL = 1,          // strokes start on chain A, which runs beside them
	ATTACH_TWO_RAILS = 2,     // strokes run from chain A to chain B
	ATTACH_RAIL_CLOSED = 3,   // as 1, and a chain from A's end closes the grid
	ATTACH_TWO_RAILS_CLOSED = 4, // as 2, and a chain joining A and B closes the grid
	ATTACH_BETWEEN_CHAINS = 5, // strokes between exactly two chains, which become the outer rows
};

struct Attachment
{
	Int32 kind = ATTACH_NONE;
	// False when the kind was recognised but its chains do not make a grid (a stroke the rail
	// does not reach, rails of different lengths, outer chains of different lengths): the build
	// then refuses instead of guessing.
	bool usable = true;
	ChainRun rails[2];  // kinds 1-4 (rails[1] in 2 and 4): grid columns 0 and last
	ChainRun closing;   // kinds 3, 4: the grid's last row
	ChainRun outer[2];  // kind 5: the grid's first and last rows
	Int32 RailCount() const { return kind == ATTACH_TWO_RAILS || kind == ATTACH_TWO_RAILS_CLOSED ? 2 : (kind == ATTACH_NONE || kind == ATTACH_BETWEEN_CHAINS ? 0 : 1); }
};

// The first and last points of each stroke, looked up in the index (strokes without points have
// no hits). hits receives two entries per stroke: first end, last end.
void MatchStrokeEnds(const ChainPointIndex& index, const Stroke* strokes, Int32 strokeCount, ChainHit* hits);

// Decides the attachment from the hits (two per stroke, as MatchStrokeEnds gives them) and sets
// its runs. first0 and last0 are the first stroke's end points.
Attachment ClassifyAttachment(const ChainSet& chains, const ChainHit* hits, Int32 strokeCount, const Vector& first0, const Vector& last0);
