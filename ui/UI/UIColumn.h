#pragma once

#include "UI/UIParameter.h"

#include <vector>

// One column of a section grid: its slots from top to bottom and its share of the
// section's width.
struct UIColumn
{
    std::vector<UIParameter> parameters;
    float weight = 1.0f;
};
