#include "UI/Overlays/Browser/BrowserListBoxModel.h"

#include "Binaries/Zorvik.h"

int BrowserListBoxModel::getNumRows()
{
    return static_cast<int>(elements.size());
}

void BrowserListBoxModel::paintListBoxItem(int row, juce::Graphics& g, int width, int height, bool selected)
{
    if (row < 0 || row >= getNumRows())
        return;
    auto fill = Zorvik::background.brighter(row % 2 == 0 ? 0.04f : 0.08f);
    if (selected)
        fill = Zorvik::blue;
    g.setColour(fill);
    g.fillRect(1, 1, width - 2, height - 2);

    g.setColour(juce::Colours::white);
    g.setFont(Zorvik::getFontLight().withHeight(0.9f * static_cast<float>(height)));
    g.drawText(elements[static_cast<size_t>(row)], 0, 0, width, height, juce::Justification::centred, true);
}

void BrowserListBoxModel::selectedRowsChanged(int lastRowSelected)
{
    if (delegate != nullptr)
        delegate->onItemSelected(this, lastRowSelected);
}

void BrowserListBoxModel::setDelegate(BrowserListBoxModelDelegate* d)
{
    delegate = d;
}

void BrowserListBoxModel::setElements(std::vector<juce::String> texts)
{
    elements = std::move(texts);
}
