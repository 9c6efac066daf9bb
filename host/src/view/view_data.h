// The host's state behind an editor view, and the views, work plane and snapping state each
// document keeps.
#pragma once

#include <map>
#include <new>
#include <span>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "hostapi/snapping.h"
#include "scene/node_data.h"
#include "standin/views.h"
#include "view/projection.h"

namespace standin::view
{

// Element type of views (host-private; views never enter a document's lists).
constexpr Int32 kViewElementType = 1000110;
// A draw pass keeps at most this many records; later calls are counted instead.
constexpr std::size_t kMaxDrawRecords = 1000000;

struct ViewData final : scene::Element<BaseDraw>
{
	ViewData();
	~ViewData() override;
	// Views are never copied with a scene.
	scene::NodeCore* CloneSelf() const override { return nullptr; }

	// The projection with the camera object's current global matrix.
	Projection Current() const;
	// Appends one record of the pass, made in place (a pass makes tens of thousands); counted in
	// droppedRecords instead when the list is full or memory is short.
	template <typename T>
	void Record(T&& record)
	{
		using Kind = std::decay_t<T>;
		if (used >= kMaxDrawRecords)
		{
			++droppedRecords;
			return;
		}
		try
		{
			if constexpr (!std::is_trivially_destructible_v<Kind>)
				holders.push_back(used);
			if (used < slots.size())
				slots[used].template emplace<Kind>(std::forward<T>(record));
			else
				slots.emplace_back(std::in_place_type<Kind>, std::forward<T>(record));
			++used;
		}
		catch (const std::bad_alloc&)
		{
			if constexpr (!std::is_trivially_destructible_v<Kind>)
				if (!holders.empty() && holders.back() == used)
					holders.pop_back();
			++droppedRecords;
		}
	}
	// The records of the current pass, in order.
	std::span<const DrawRecord> Records() const { return {slots.data(), used}; }
	// Empties the pass. Only the records that hold memory (texts, objects, matrices) are undone;
	// the others are written over by the next pass, so a redraw walks its list once.
	void ClearRecords();

	BaseObject* camera = nullptr; // owned, free object
	Projection projection;        // frame, code and scale (its camera is refreshed by Current)
	// The current pass is the first `used` slots; later slots hold plain values of an earlier one.
	std::vector<DrawRecord> slots;
	std::size_t used = 0;
	std::vector<std::size_t> holders; // slots of this pass whose record holds memory
	Int64 droppedRecords = 0;
	bool wireframe = false; // pictures draw objects as edges only
	std::map<Int32, GeData> drawParams;
};

inline ViewData* ViewDataOf(const BaseDraw* bd)
{
	return static_cast<ViewData*>(scene::CoreOf(bd));
}

struct DrawHelpData final : BaseDrawHelp
{
	BaseDraw* bd = nullptr;
	Matrix mg;
};

// Everything view-related a document owns; destroyed with the document.
struct DocumentViews
{
	DocumentViews() = default;
	DocumentViews(const DocumentViews&) = delete;
	DocumentViews& operator=(const DocumentViews&) = delete;
	~DocumentViews();

	std::vector<ViewData*> views; // owned
	Int32 active = -1;
	BaseObject* workPlane = nullptr; // owned, free object; created on first use
	std::map<Int32, BaseContainer> snapSettings;
	std::map<Int32, bool> snapModes;
};

// The document's view state, made on first use; nullptr for a missing document or when memory is
// short.
DocumentViews* ViewsOf(const BaseDocument* doc);
// The document's active view, adding a default perspective view to a document without any.
ViewData* ActiveView(const BaseDocument* doc);

} // namespace standin::view
