#include "Basics/ParameterUISettings.h"

ParameterUISettings::ParameterUISettings(std::string titleText, int widgetKind, std::vector<int> linkedKeys,
                                         std::vector<std::string> optionTexts, std::vector<bool> marks,
                                         std::vector<juce::Colour> extraColours)
    : title(std::move(titleText)),
      kind(widgetKind),
      linked(std::move(linkedKeys)),
      options(std::move(optionTexts)),
      colours(std::move(extraColours))
{
    // Containers read both edge marks: a shorter list keeps the missing ones off.
    for (size_t i = 0; i < marks.size() && i < linkMarks.size(); ++i)
        linkMarks[i] = marks[i];
}
