#include "Binaries/Zorvik.h"

#include "FontData.h"

#include <juce_events/juce_events.h>

namespace
{
    // Builds each typeface once from the embedded bytes. Deleted by the framework at
    // shutdown, so no typeface outlives the message manager.
    class FontCache : public juce::DeletedAtShutdown
    {
    public:
        FontCache()
            : light(fromMemory(FontData::OswaldLight_ttf, FontData::OswaldLight_ttfSize)),
              bold(fromMemory(FontData::OswaldBold_ttf, FontData::OswaldBold_ttfSize))
        {
        }

        ~FontCache() override { clearSingletonInstance(); }

        const juce::Font light;
        const juce::Font bold;

        JUCE_DECLARE_SINGLETON(FontCache, false)

    private:
        static juce::Font fromMemory(const char* data, int size)
        {
            return juce::Font(juce::Typeface::createSystemTypefaceFor(data, static_cast<size_t>(size)));
        }
    };

    JUCE_IMPLEMENT_SINGLETON(FontCache)
}

namespace Zorvik
{
    juce::Font getFontLight()
    {
        return FontCache::getInstance()->light;
    }

    juce::Font getFontBold()
    {
        return FontCache::getInstance()->bold;
    }
}
