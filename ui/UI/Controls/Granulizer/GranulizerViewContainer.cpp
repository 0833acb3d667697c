#include "UI/Controls/Granulizer/GranulizerViewContainer.h"

GranulizerViewContainer::GranulizerViewContainer(Parameter* p, std::string t)
    : UIContainer(p, std::move(t)),
      background(std::make_unique<GranulizerViewBackground>()),
      grains(std::make_unique<GrainsComponent>())
{
    addAndMakeVisible(*background);
    addAndMakeVisible(*grains);
}

GranulizerViewContainer::~GranulizerViewContainer() = default;

void GranulizerViewContainer::resized()
{
    UIContainer::resized();
    const int top = titleStripHeight;
    background->setBounds(0, top, getWidth(), getHeight() - top);
    grains->setBounds(0, top, getWidth(), getHeight() - top);
}
