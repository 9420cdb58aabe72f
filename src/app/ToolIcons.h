#pragma once
// The tool panel's button pictures, drawn here so they stay crisp at any scale.

#include <QIcon>

enum class ToolIcon { Open, Save, Print, DataLogger, OutputToGraph, Run, Stop, Help };

QIcon toolIcon(ToolIcon which);
