#pragma once

#include "UI/Controls/Slider/CustomSlider.h"

// A slider that runs the other way: the maximum at the bottom of a bar.
class ReverseSlider : public CustomSlider
{
public:
    using CustomSlider::CustomSlider;

    double proportionOfLengthToValue(double proportion) override;
    double valueToProportionOfLength(double value) override;
};
