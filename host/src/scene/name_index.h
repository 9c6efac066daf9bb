// Keeping a list's name index (ListHead::names) up to date; the linking functions call these.
#pragma once

namespace scene
{

struct ListHead;
struct NodeCore;

// node has just joined head / is about to leave it. Nothing happens when head keeps no index.
void IndexLinked(ListHead& head, NodeCore* node);
void IndexUnlinked(ListHead& head, NodeCore* node);

} // namespace scene
