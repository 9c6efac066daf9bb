// The stroke records of the stroke tool: one point of a stroke and the growable point list.
#pragma once

#include "hostapi/vector.h"

struct StrokePoint
{
	Int32 index = 0;   // running number within the stroke, first point 0
	Vector pos;        // world position
	Float weight = 0.0; // falloff weight of the running Point Move drag; 0 outside the brush
	Vector origin;     // position when the running Point Move drag began
};

// A stroke's points in drawing order. The block comes from the host allocator; growing keeps every
// point already stored, and a growth the host refuses leaves the stroke exactly as it was.
class Stroke
{
public:
	Stroke() = default;
	~Stroke() { Free(); }
	Stroke(const Stroke&) = delete;
	Stroke& operator=(const Stroke&) = delete;
	Stroke(Stroke&& other) noexcept;
	Stroke& operator=(Stroke&& other) noexcept;

	Int32 GetCount() const { return _count; }
	Int32 GetCapacity() const { return _capacity; }
	bool IsEmpty() const { return _count == 0; }
	StrokePoint* GetPoints() { return _points; }
	const StrokePoint* GetPoints() const { return _points; }
	// Callers index within 0 .. GetCount() - 1.
	StrokePoint& operator[](Int32 i) { return _points[i]; }
	const StrokePoint& operator[](Int32 i) const { return _points[i]; }
	StrokePoint& Last() { return _points[_count - 1]; }

	// Makes room for at least capacity points; false when the host refuses the memory.
	bool Reserve(Int32 capacity);
	// Appends a copy of the record; false (nothing changed) when the stroke cannot grow.
	bool Append(const StrokePoint& point);
	// Appends a fresh point: weight 0 and origin (0,0,0), as every new point starts.
	bool AppendPoint(Int32 index, const Vector& pos);
	// Removes the point at i, keeping the order of the others; indices outside the stroke are ignored.
	void RemoveAt(Int32 i);
	// Forgets the points but keeps the block for reuse.
	void Clear() { _count = 0; }
	// Forgets the points and returns the block to the host.
	void Free();

private:
	StrokePoint* _points = nullptr;
	Int32 _count = 0;
	Int32 _capacity = 0;
};
