#pragma once

// Told when the user confirms a deletion.
class ConfirmDialogDelegate
{
public:
    virtual ~ConfirmDialogDelegate() = default;
    virtual void onDelete() = 0;
};
