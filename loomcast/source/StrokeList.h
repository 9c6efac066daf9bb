// The tool's strokes in the order they were drawn: one contiguous array of Stroke records in host
// memory, so the placement services can take it as a plain pointer and count.
#pragma once

#include "StrokeTypes.h"

class StrokeList
{
public:
	StrokeList() = default;
	~StrokeList() { Free(); }
	StrokeList(const StrokeList&) = delete;
	StrokeList& operator=(const StrokeList&) = delete;

	Int32 GetCount() const { return _count; }
	bool IsEmpty() const { return _count == 0; }
	Stroke* GetStrokes() { return _items; }
	const Stroke* GetStrokes() const { return _items; }
	// Callers index within 0 .. GetCount() - 1.
	Stroke& operator[](Int32 i) { return _items[i]; }
	const Stroke& operator[](Int32 i) const { return _items[i]; }
	Stroke& Last() { return _items[_count - 1]; }

	// Appends an empty stroke and answers it; nullptr (nothing changed) when memory is short.
	Stroke* AppendStroke();
	// Removes the stroke at i with its points, keeping the order of the others.
	void RemoveAt(Int32 i);
	// Frees every stroke's points and the array itself.
	void Free();

private:
	bool Grow();

	Stroke* _items = nullptr;
	Int32 _count = 0;
	Int32 _capacity = 0;
};
