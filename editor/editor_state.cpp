// The settings editor's program-wide state.
#include "editor_state.h"

// No slot has been chosen before the first slot tile is pressed.
EditorState g_editor = {NULL, {-1, L"", L"", L""}, {}, {}, {}, {}};
