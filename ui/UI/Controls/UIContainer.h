#pragma once

#include "Binaries/Zorvik.h"
#include "Common/Parameters/Parameter.h"
#include "UI/Controls/ControlParameter.h"
#include "UI/Controls/IconPath.h"
#include "UI/Controls/ParameterGestures.h"
#include "UI/Controls/UIContainerDelegate.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>
#include <vector>

// Base of every control the editor places: a title strip above one control bound to
// one or more parameters, a main colour, a grey mode, and right clicks that ask the
// editor to open the control value editor.
//
// Each mouse event reaches the container once, in its own coordinates: labels let
// clicks through to it, and the inner controls hand it their right clicks.
//
// Containers that write host parameters themselves do it through their gestures, so
// that the host hears each user edit as one gesture per parameter; a container
// destroyed mid-drag ends the gestures it opened.
class UIContainer : public juce::Component
{
public:
    UIContainer(Parameter* parameter, std::string title);
    ~UIContainer() override = default;

    virtual void attach(juce::AudioProcessorValueTreeState& state) = 0;
    virtual void setMainColor(juce::Colour colour);
    virtual void setIsGrey(bool grey);
    virtual void update() {}

    void mouseDown(const juce::MouseEvent&) override;
    void paint(juce::Graphics&) override;
    void resized() override;

    void setDisplayTitle(bool display);
    void setIconPath(IconPath* icon);
    void setDelegate(UIContainerDelegate* d) { delegate = d; }

    // "RoomSize" -> "ROOM SIZE": a blank before every capital but the first, upper-cased.
    static std::string convertStringForDislay(std::string s);

    UIContainerDelegate* delegate = nullptr;
    std::vector<bool> linkMarks { false, false };

    Parameter* getParameter() const { return parameter; }
    juce::Colour getMainColour() const { return mainColour; }
    bool getIsGrey() const { return isGrey; }
    int getTitleStripHeight() const { return titleStripHeight; }
    const std::string& getTitle() const { return title; }
    juce::Label& getTitleLabel() { return *titleLabel; }

protected:
    static bool isRightClick(const juce::MouseEvent& e) { return e.mods.isRightButtonDown(); }
    void sendRightClick(std::vector<ControlParameter> parameters);

    juce::Colour mainColour = Zorvik::blue;
    int titleHeight = 24;
    int titleStripHeight = 24;
    bool displayTitle = true;
    bool isGrey = false;
    Parameter* parameter;
    ParameterGestures gestures;

private:
    std::unique_ptr<juce::Label> titleLabel;
    std::string title;
    std::unique_ptr<IconPath> iconPath;
    juce::Path iconShape;
};
