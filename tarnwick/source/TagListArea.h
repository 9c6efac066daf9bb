// The tag strip (gadget 10002): the tags of the selected held objects as a row of icons.
#pragma once

#include <vector>

#include "hostapi/dialog.h"

class TagListArea : public GeUserArea
{
public:
	static constexpr Int32 ICON_PITCH = 26;

	TagListArea() = default;
	~TagListArea() override;

	// Replaces the tags shown. The strip keeps links, not the tags: a tag deleted before the next
	// drawing is skipped instead of being read after it was freed.
	void SetTags(const std::vector<BaseTag*>& tags);
	// The tags that still exist, in display order.
	std::vector<BaseTag*> Tags() const;

	bool GetMinSize(Int32& w, Int32& h) override;
	void DrawMsg(Int32 x1, Int32 y1, Int32 x2, Int32 y2, const BaseContainer& msg) override;

private:
	void Clear();
	std::vector<BaseLink*> _links;
	Int32 _width = 0, _height = 0;
};
