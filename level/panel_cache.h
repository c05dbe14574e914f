// The panel keeps its composed picture between frames and redraws only the
// read-outs whose values changed; the level releases it when a run ends.
#pragma once

void releasePanelCache();
