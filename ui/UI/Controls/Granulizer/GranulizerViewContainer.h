#pragma once

#include "UI/Controls/Granulizer/GrainsComponent.h"
#include "UI/Controls/Granulizer/GranulizerViewBackground.h"
#include "UI/Controls/UIContainer.h"

#include <memory>

// Shows the grains of a granular effect flying over a floor grid drawn in perspective.
// Display only: the owner hands the grains over on the message thread with setGrains.
class GranulizerViewContainer : public UIContainer
{
public:
    GranulizerViewContainer(Parameter* parameter, std::string title);
    ~GranulizerViewContainer() override;

    void attach(juce::AudioProcessorValueTreeState&) override {}
    void paint(juce::Graphics&) override {}
    void resized() override;

    // count rows of ten floats each; the rows are copied.
    void setGrains(int count, const float* const* rows) { grains->setGrains(count, rows); }

    GranulizerViewBackground& getBackground() { return *background; }
    GrainsComponent& getGrainsComponent() { return *grains; }

private:
    std::unique_ptr<GranulizerViewBackground> background;
    std::unique_ptr<GrainsComponent> grains;
};
