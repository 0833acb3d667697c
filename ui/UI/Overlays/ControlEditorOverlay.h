#pragma once

#include "Basics/EditableParameter.h"
#include "UI/Overlays/ControlEditorParameter.h"
#include "UI/Overlays/ControlEditorParameterDelegate.h"
#include "UI/Overlays/Overlay.h"

#include <vector>

// The overlay for typing exact values of a control's one or two parameters.
class ControlEditorOverlay : public Overlay, public ControlEditorParameterDelegate
{
public:
    static constexpr int maximumRows = 2;

    ControlEditorOverlay();
    ~ControlEditorOverlay() override;

    void resized() override;
    void setControls(std::vector<EditableParameter> params);
    void onConfirm() override;

    std::vector<ControlEditorParameter*> rows;  // owned
};
