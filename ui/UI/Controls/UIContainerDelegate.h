#pragma once

#include "UI/Controls/ControlParameter.h"

#include <vector>

// Receives a control's right clicks (the editor opens the control value editor).
class UIContainerDelegate
{
public:
    virtual ~UIContainerDelegate() = default;
    virtual void onRightClickOnControl(std::vector<ControlParameter> parameters) = 0;
};
