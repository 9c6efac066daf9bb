// The edge line of polygon splitting: one polyline along selected edges, each node a mesh point
// with where it stood when the line was built and where the preview wants it.
#pragma once

#include "hostapi/objects.h"

class BaseDocument;
class BaseLink;

struct EdgeLineNode
{
	Int32 point = 0;             // point index in the object
	Vector target;               // written by the tool's preview; (0,0,0) when built
	Vector base;                 // world position when the line was built
	EdgeLineNode* next = nullptr;
};

struct EdgeLineData
{
	Int32 pointCount = 0;
	EdgeLineNode* head = nullptr;
	EdgeLineNode* tail = nullptr;
	// The object whose edges were followed, held through a link: the user may delete the object
	// while the line is kept, and a stale pointer must never be followed.
	BaseLink* object = nullptr;

	EdgeLineData() = default;
	EdgeLineData(const EdgeLineData&) = delete;
	EdgeLineData& operator=(const EdgeLineData&) = delete;
	~EdgeLineData();

	bool IsEmpty() const { return head == nullptr; }
	// The followed object while it still exists in doc (nullptr: any document); else nullptr.
	PolygonObject* GetObject(BaseDocument* doc) const;
	// Appends a node at the tail; false when memory is short.
	bool Append(Int32 point, const Vector& base);
	// The node at position i (0 = head), nullptr outside 0 .. pointCount - 1.
	EdgeLineNode* NodeAt(Int32 i) const;
};

// Frees the nodes from the head and the link; pointCount 0.
void ReleaseEdgeLine(EdgeLineData& line);
