#pragma once

// One slot of a section column: the control of a parameter key, its height and
// the empty rows above it in rows of the section grid, and its width in units of
// the column's weight.
struct UIParameter
{
    int key = 0;
    float height = 1.0f;
    float offset = 0.0f;
    float width = 1.0f;
};
