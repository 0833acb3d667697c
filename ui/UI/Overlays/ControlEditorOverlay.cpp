#include "UI/Overlays/ControlEditorOverlay.h"

ControlEditorOverlay::ControlEditorOverlay()
{
    backgroundAlpha = 0.95f;
    for (int i = 0; i < maximumRows; ++i)
    {
        auto* row = new ControlEditorParameter();
        rows.push_back(row);
        addChildComponent(row);
        row->delegate = this;
    }
}

ControlEditorOverlay::~ControlEditorOverlay()
{
    for (auto* row : rows)
        delete row;
}

void ControlEditorOverlay::resized()
{
    // The rows are placed by setControls.
}

void ControlEditorOverlay::setControls(std::vector<EditableParameter> params)
{
    // Only as many records as there are rows are shown; an empty list shows nothing.
    if (params.size() > rows.size())
        params.resize(rows.size());
    const int n = static_cast<int>(params.size());
    if (n == 0)
    {
        for (auto* row : rows)
            row->setVisible(false);
        contentBounds = {};
        return;
    }

    const auto bounds = getLocalBounds();
    const float f = 0.4f / static_cast<float>(n);
    const int mx = static_cast<int>(static_cast<float>(bounds.getWidth()) * f);
    const int my = static_cast<int>(static_cast<float>(bounds.getHeight()) * 0.35f);
    contentBounds = { bounds.getX() + mx, bounds.getY() + my, std::max(bounds.getWidth() - 2 * mx, 0),
                      std::max(bounds.getHeight() - 2 * my, 0) };
    const int cw = contentBounds.getWidth();
    const int ch = contentBounds.getHeight();

    for (int j = n - 1; j >= 0; --j)
    {
        auto* row = rows[static_cast<size_t>(j)];
        row->setBounds(contentBounds.getX() + (j * cw) / n, contentBounds.getY(), cw / n, ch);
        row->setControl(params[static_cast<size_t>(j)]);
        row->setVisible(true);
    }
    for (size_t j = params.size(); j < rows.size(); ++j)
        rows[j]->setVisible(false);
}

void ControlEditorOverlay::onConfirm()
{
    setVisible(false);
}
