#pragma once

// Told by a control-editor row after it wrote its parameter.
class ControlEditorParameterDelegate
{
public:
    virtual ~ControlEditorParameterDelegate() = default;
    virtual void onConfirm() = 0;
};
