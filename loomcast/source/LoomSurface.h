// The stroke tool object that the host calls while the tool is active: it holds the strokes drawn
// in the view, answers the settings panel and builds the surface from the strokes.
//
// One file per operation: LoomSurface.cpp (identity, state, reset), ToolLifecycle.cpp (activation,
// leaving, Escape), ToolDefaults.cpp, ToolDescription.cpp (hiding), ToolEnabling.cpp,
// ToolMessages.cpp, ToolInspect.cpp, CursorQuery.cpp, MouseInput.cpp (dispatch of the drag operations),
// CursorPlacement.cpp, DrawStroke.cpp, and the surface build in SurfaceBuild.cpp with its parts
// (BuildSamples, Attachment, Rails, SurfaceGrid, ColumnSpline, SurfaceMesh, GuideSplines).
#pragma once

#include "EdgeLine.h"
#include "HostHandle.h"
#include "StrokeList.h"
#include "hostapi/plugin.h"

class LoomS : public DescriptionToolData
{
public:
	LoomS();
	~LoomS() override;

	// ---- The host's tool interface ------------------------------------------------------------
	bool InitTool(BaseDocument* doc, BaseContainer& data, BaseThread* bt) override;
	void FreeTool(BaseDocument* doc, BaseContainer& data) override;
	bool KeyboardInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg) override;
	bool GetCursorInfo(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y, BaseContainer& bc) override;
	bool MouseInput(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg) override;
	Int32 Draw(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, BaseDrawHelp* bh, BaseThread* bt, Int32 flags) override;
	Int32 GetState(BaseDocument* doc) override;
	Int32 GetCommandFlags() override;
	bool WantsDrawPass(UChar passFlags) override;
	bool InitDefaultSettings(BaseDocument* doc, BaseContainer& data) override;
	bool GetDDescription(BaseDocument* doc, BaseContainer& data, Description* description, Int32& flags) override;
	bool GetDEnabling(BaseDocument* doc, BaseContainer& data, Int32 id, const GeData& t_data, Int32 flags, const BaseContainer* itemdesc) override;
	bool Message(BaseDocument* doc, BaseContainer& data, Int32 type, void* t_data) override;
	Int32 GetToolPluginId() override;
	const String GetResourceSymbol() override;

	// ---- Operations -----------------------------------------------------------------------------
	// Forgets every stroke and the cursor state (the edge line stays): tool left, Escape, the end
	// of a build and failed operations.
	void ResetStrokes();
	// Turns the strokes into quads (the Create button). False, with the strokes reset, when the
	// strokes cannot make a surface or the host refuses a step; the mesh is then unchanged.
	bool BuildSurface(BaseDocument* doc, BaseContainer& data);
	// Starts a new stroke at p (index 0); nullptr when memory is short.
	Stroke* BeginStroke(const Vector& p);

	// ---- State ------------------------------------------------------------------------------------
	Int32 GetStrokeCount() const { return _strokes.GetCount(); }
	const StrokeList& GetStrokes() const { return _strokes; }
	StrokeList& GetStrokes() { return _strokes; }
	const Vector& GetCursorPos() const { return _cursorPos; }
	Int32 GetDragOp() const { return _dragOp; }
	bool IsDrawing() const { return _drawing != 0; }
	bool IsSnapped() const { return _snapped != 0; }
	bool GetHitFlag() const { return _hitFlag != 0; }
	Int32 GetRadiusPx() const { return _radiusPx; }
	Float GetDepth() const { return _depth; }
	Float GetSnapAngle() const { return _snapAngle; }
	bool IsOnPlane() const { return _onPlane != 0; }
	Int32 GetOpenEndPoint() const { return _openEndPoint; }
	const EdgeLineData& GetEdgeLine() const { return _edgeLines; }
	EdgeLineData& GetEdgeLine() { return _edgeLines; }
	// The object picked at the end of the last stroke while it still exists in doc (nullptr: any
	// document); nullptr when none was picked or it has been deleted since.
	BaseObject* GetPickedObject(BaseDocument* doc) const;
	// false when the link cannot be made (the picked object is then none).
	bool SetPickedObject(BaseObject* op);
	// "strokes N", then per stroke "stroke i points n:" and its positions as "(x;y;z)".
	String DescribeStrokes() const;
	// "cursor (x;y;z) operation N on-plane 0|1 snapped 0|1 erase x y": what the last cursor query
	// decided.
	String DescribeCursor() const;

	// ---- The answers behind GetCursorInfo, MouseInput and GetDDescription --------------------------
	bool CursorQuery(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y, BaseContainer& bc);
	bool MouseDispatch(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, const BaseContainer& msg);
	bool DescribeSettings(BaseDocument* doc, BaseContainer& data, Description* description, Int32& flags);

private:
	// ---- Parts of the operations --------------------------------------------------------------
	// Where the cursor is during a drag at mouse position (mx, my): on the surface, the work plane
	// or at the remembered depth.
	void PlaceCursor(BaseDocument* doc, const BaseContainer& data, BaseDraw* bd, Float mx, Float my);
	// Moves the cursor onto a selected edge point of the active polygon object when one lies under
	// (mx, my) and records the hit.
	void SnapCursorToEdges(BaseDocument* doc, const BaseContainer& data, BaseDraw* bd, Float mx, Float my);
	// The drag operations; each answers what MouseInput answers.
	bool DrawStroke(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y);
	// Polygon splitting along the edge line: grows or moves the mesh at a click.
	bool SplitAlongEdgeLine(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, Float x, Float y);
	// The view drawing (ToolDraw.cpp): the whole pass, and its parts per operation. DrawView answers
	// what Draw answers; the grid preview is false when its buffers cannot be had.
	Int32 DrawView(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, BaseDrawHelp* bh);
	void DrawBrush(const BaseContainer& data, BaseDraw* bd, const Vector& q);
	void DrawEraseTargets(const BaseContainer& data, BaseDraw* bd, const Vector& q);
	bool DrawGridPreview(BaseDocument* doc, const BaseContainer& data, BaseDraw* bd, const Vector& q);
	// Empties the edge line and resets the strokes; answers false (a refused or failed split).
	bool FailSplit();
	// The other drag operations (BrushDrags.cpp, PointErase.cpp, EdgeSelection.cpp).
	bool PointMove(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y);
	bool EditRadius(BaseContainer& data, EditorWindow* win, Int32 button, Float x, Float y);
	bool AdjustOrAddPoints(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y);
	bool ErasePoints(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y);
	// Removes every stroke point the brush's cross at (x, y) accepts.
	void ErasePointsAt(const BaseContainer& data, BaseDraw* bd, Float x, Float y);
	bool SelectEdges(BaseDocument* doc, BaseContainer& data, BaseDraw* bd, EditorWindow* win, Int32 button, Float x, Float y);
	// True when a click in draw mode splits instead of drawing.
	bool SplitsAtClick(BaseDocument* doc, const BaseContainer& data) const;

	Vector _cursorPos;
	Int32 _drawing = 0;
	Int32 _dragOp = 0;
	Int32 _snapped = 0;
	Int32 _radiusPx = 0;
	Int32 _hitFlag = 0;
	Int32 _snapFound = 0;
	Float _depth = 500.0;
	Float _snapAngle = 0.0;
	Float _eraseX = 0.0;
	Float _eraseY = 0.0;
	// Held as a link: the user may delete the object between the stroke and the build.
	HostHandle<BaseLink> _pickedObject;
	Int32 _onPlane = 0;
	Int32 _openEndPoint = -1;
	EdgeLineData _edgeLines;
	// The stroke count of the tool is the list's own count, so the two can never disagree.
	StrokeList _strokes;
};
