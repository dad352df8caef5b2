#pragma once

// The pictures are compiled into the static core library; whoever shows a window first
// registers them, since the linker would otherwise drop them.
void initResources();
