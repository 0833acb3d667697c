#include "Preset/PresetParser.h"

#include "Common/Parameters/ParameterList.h"

#include <cmath>
#include <locale>
#include <sstream>

namespace
{
const juce::Identifier idProperty("id");
const juce::Identifier valueProperty("value");

juce::ValueTree childWithId(juce::ValueTree& tree, const juce::String& id)
{
    return tree.getChildWithProperty(idProperty, id);
}
} // namespace

Parameter* PresetParser::findParameter(ParameterList* list, const juce::String& name)
{
    if (list == nullptr)
        return nullptr;
    for (auto* parameter : *list)
        if (parameter != nullptr && name == juce::String(parameter->name))
            return parameter;
    return nullptr;
}

std::optional<double> PresetParser::readNumber(const juce::var& value)
{
    double number = 0.0;
    if (value.isDouble() || value.isInt() || value.isInt64() || value.isBool())
    {
        number = static_cast<double>(value);
    }
    else if (value.isString())
    {
        std::istringstream stream(value.toString().trim().toStdString());
        stream.imbue(std::locale::classic());
        stream >> number;
        if (stream.fail() || !(stream >> std::ws).eof())
            return std::nullopt;
    }
    else
    {
        return std::nullopt;
    }
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

float PresetParser::clampToRange(const Parameter& parameter, double value)
{
    const double low = std::min(parameter.minimum, parameter.maximum);
    const double high = std::max(parameter.minimum, parameter.maximum);
    return static_cast<float>(juce::jlimit(low, high, value));
}

float PresetParser::stringToIntValue(const Parameter& parameter, const char* text)
{
    if (parameter.intToText == nullptr || text == nullptr)
        return 0.0f;
    // Bounded walk over the range; a huge range is not searched value by value.
    const double first = std::trunc(parameter.minimum);
    const double span = static_cast<double>(parameter.maximum) - first;
    if (!std::isfinite(span) || span < 0.0 || span > 1.0e6)
        return 0.0f;
    for (int i = static_cast<int>(first); static_cast<float>(i) <= parameter.maximum; ++i)
    {
        const char* candidate = parameter.intToText(i);
        if (candidate != nullptr && std::strcmp(candidate, text) == 0)
            return static_cast<float>(i);
    }
    return 0.0f;
}

void PresetParser::applyReal(juce::ValueTree& result, const juce::String& key, const juce::String& text,
                             ParameterList* list)
{
    auto child = childWithId(result, key);
    if (!child.isValid())
        return;
    const auto number = readNumber(juce::var(text));
    if (!number)
        return; // not a number, or not finite: the default stays
    if (auto* parameter = findParameter(list, key))
        child.setProperty(valueProperty, clampToRange(*parameter, *number), nullptr);
    else
        child.setProperty(valueProperty, static_cast<float>(*number), nullptr);
}

void PresetParser::applyString(juce::ValueTree& result, const juce::String& key, const juce::String& text,
                               ParameterList* list)
{
    auto* parameter = findParameter(list, key);
    if (parameter == nullptr)
        return;
    auto child = childWithId(result, key);
    if (parameter->choiceList != nullptr)
    {
        const auto& choices = *parameter->choiceList;
        for (size_t i = 0; i < choices.size(); ++i)
        {
            if (text == juce::String(choices[i].text))
            {
                if (child.isValid())
                    child.setProperty(valueProperty, juce::String(static_cast<int>(i)), nullptr);
                return;
            }
        }
        return;
    }
    if ((parameter->flags & 32) != 0 && child.isValid())
    {
        const auto value = stringToIntValue(*parameter, text.toRawUTF8());
        child.setProperty(valueProperty, juce::String(static_cast<int>(value)), nullptr);
    }
}

juce::ValueTree PresetParser::valueTreeFromPreset(juce::ValueTree defaultState, juce::XmlElement* dict,
                                                  ParameterList* list)
{
    auto result = defaultState.createCopy();
    if (dict == nullptr)
        return result;

    juce::String key;
    for (auto* element : dict->getChildIterator())
    {
        const auto text = element->getAllSubText();
        if (text.isEmpty())
            continue;
        if (element->hasTagName("key"))
            key = text;
        else if (element->hasTagName("real"))
            applyReal(result, key, text, list);
        else if (element->hasTagName("string"))
            applyString(result, key, text, list);
    }
    return result;
}

juce::XmlElement* PresetParser::presetFromValueTree(juce::ValueTree state, ParameterList* list)
{
    auto* root = new juce::XmlElement("plist");
    root->setAttribute("version", 1.0);
    auto* dict = root->createNewChildElement("dict");

    for (const auto& child : state)
    {
        const auto id = child.getProperty(idProperty).toString();
        auto value = child.getProperty(valueProperty).toString();
        juce::String valueTag("real");
        auto* parameter = findParameter(list, id);
        if (parameter != nullptr && parameter->choiceList != nullptr && (parameter->flags & 32) != 0)
        {
            const auto index = static_cast<int>(child.getProperty(valueProperty));
            const auto& choices = *parameter->choiceList;
            if (index >= 0 && static_cast<size_t>(index) < choices.size())
            {
                value = juce::String(choices[static_cast<size_t>(index)].text);
                valueTag = "string";
            }
        }
        dict->createNewChildElement("key")->addTextElement(id);
        dict->createNewChildElement(valueTag)->addTextElement(value);
    }
    return root;
}
