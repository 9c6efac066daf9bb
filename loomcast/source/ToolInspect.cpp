// The tool's working state as text, for the host's inspector: the strokes with their points, and
// the cursor as the last cursor query left it.
#include "Dtool.h"
#include "LoomSurface.h"

String LoomS::DescribeStrokes() const
{
	DTOOL tool;
	String text = String("strokes ") + String::IntToString(_strokes.GetCount());
	for (Int32 i = 0; i < _strokes.GetCount(); ++i)
	{
		const Stroke& stroke = _strokes[i];
		text += String("\nstroke ") + String::IntToString(i) + String(" points ") + String::IntToString(stroke.GetCount()) + String(":");
		for (Int32 k = 0; k < stroke.GetCount(); ++k)
			text += String(" ") + tool.VectorText(stroke[k].pos);
	}
	return text;
}

String LoomS::DescribeCursor() const
{
	DTOOL tool;
	return String("cursor ") + tool.VectorText(_cursorPos) + String(" operation ") + String::IntToString(_dragOp) + String(" on-plane ") +
		String::IntToString(_onPlane) + String(" snapped ") + String::IntToString(_snapped) + String(" erase ") +
		String::FloatToString(_eraseX) + String(" ") + String::FloatToString(_eraseY);
}
