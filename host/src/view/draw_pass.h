// The host's own redraw of the active document's active view (standin::DrawPass on it). Only the
// main thread draws: asked from another thread, or from within a pass, it does nothing.
#pragma once

namespace standin::view
{
void RedrawActiveView();
} // namespace standin::view
