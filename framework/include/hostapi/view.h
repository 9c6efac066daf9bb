// Editor views: camera, projection, coordinate conversion, pick tests and drawing.
// The view services grow with the tool's needs; what is declared here is what the host provides.
#pragma once

#include "hostapi/document.h"

// Projection codes of a view.
enum : Int32
{
	Pperspective = 0,
	Pparallel_first = 8, // 8 to 11: parallel views
	Pparallel_last = 11,
};

class BaseDraw : public BaseList2D
{
public:
	// Implemented with the views issue.

protected:
	BaseDraw() = default;
};

// Per-object drawing context handed to Draw calls.
class BaseDrawHelp
{
protected:
	BaseDrawHelp() = default;
	~BaseDrawHelp() = default;
};

// The editor window a tool's input arrives through.
class EditorWindow
{
protected:
	EditorWindow() = default;
	~EditorWindow() = default;
};
