#pragma once

// Receives the page tab the user picked (the editor implements it).
class PageSelectorDelegate
{
public:
    virtual ~PageSelectorDelegate() = default;
    virtual void onPageSelected(int page) = 0;
};
