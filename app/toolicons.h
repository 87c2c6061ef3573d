#pragma once
// The tool bar's pictures, drawn in code so they look the same on every desktop.

#include <QIcon>

// The picture of a tool bar command (New, Open, Save, Undo, Cut, Copy, Insert, Replace, Delete, the
// manual); an empty icon for any other.
QIcon ToolIcon(int command);
