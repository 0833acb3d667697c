#include "UI/Page.h"

#include "UI/Section.h"

Page::Page(std::vector<UISection> pageSections, std::string pageName)
    : sections(std::move(pageSections)), name(std::move(pageName))
{
}

void Page::resized()
{
    int total = 0;
    for (const auto& entry : sections)
        total += entry.weight;
    if (total <= 0)
        return;

    // Widths truncate; the pixels lost stay empty at the right edge.
    int x = 0;
    for (const auto& entry : sections)
    {
        if (entry.section == nullptr)
            continue;
        addAndMakeVisible(entry.section);
        const int w = getWidth() * entry.weight / total;
        entry.section->setBounds(x, 0, w, getHeight());
        x += w;
    }
}
