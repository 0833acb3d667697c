#pragma once

class BrowserListBoxModel;

// Told when the selection of a browser list changes (row -1: nothing selected).
class BrowserListBoxModelDelegate
{
public:
    virtual ~BrowserListBoxModelDelegate() = default;
    virtual void onItemSelected(BrowserListBoxModel* model, int row) = 0;
};
