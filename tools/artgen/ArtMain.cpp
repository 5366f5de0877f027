// zentak_artgen: draws every skin image of the plug-in and writes them as PNG files, or checks that
// the files in a folder are what it draws now.
//
//   zentak_artgen <folder>           write every image into the folder
//   zentak_artgen --check <folder>   compare the folder's images with fresh drawings (exit 1 on a difference)
#include "ArtCommon.h"

#include <juce_events/juce_events.h>

#include <iostream>

namespace
{
using namespace juce;

std::vector<artgen::ArtItem> allArt()
{
    std::vector<artgen::ArtItem> all;
    for (auto part : {artgen::controlArt(), artgen::screenArt(), artgen::panelArt(), artgen::logoArt()})
        for (auto& item : part)
            all.push_back(std::move(item));
    return all;
}

/** Largest difference of any channel, compared premultiplied by alpha (as the images are held), so
    that the rounding of nearly transparent pixels through PNG files does not count. */
int difference(const Image& a, const Image& b)
{
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
        return 256;
    const Image::BitmapData da(a, Image::BitmapData::readOnly), db(b, Image::BitmapData::readOnly);
    int worst = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const auto p = da.getPixelColour(x, y).getPixelARGB(), q = db.getPixelColour(x, y).getPixelARGB();
            worst = jmax(worst, std::abs(p.getAlpha() - q.getAlpha()), std::abs(p.getRed() - q.getRed()));
            worst = jmax(worst, std::abs(p.getGreen() - q.getGreen()), std::abs(p.getBlue() - q.getBlue()));
        }
    return worst;
}

int run(const StringArray& args)
{
    const bool check = args.size() == 2 && args[0] == "--check";
    if (!(args.size() == 1 || check))
    {
        std::cerr << "usage: zentak_artgen [--check] <folder>\n";
        return 2;
    }
    const File folder = File::getCurrentWorkingDirectory().getChildFile(args[args.size() - 1]);
    if (!check && !folder.createDirectory())
        return 2;

    int failures = 0;
    PNGImageFormat png;
    for (const auto& item : allArt())
    {
        const Image image = item.make();
        const File file = folder.getChildFile(item.name + ".png");
        if (check)
        {
            const Image onDisk = ImageFileFormat::loadFrom(file);
            const int d = onDisk.isValid() ? difference(image, onDisk) : 256;
            if (d > 2)
            {
                std::cerr << "differs: " << file.getFileName() << " (by " << d << ")\n";
                ++failures;
            }
            continue;
        }
        file.deleteFile();
        FileOutputStream out(file);
        if (!out.openedOk() || !png.writeImageToStream(image, out))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            ++failures;
        }
    }
    if (check)
        std::cout << (failures == 0 ? "skin art up to date\n" : "skin art differs from the generator\n");
    return failures == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI gui;
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add(argv[i]);
    const int result = run(args);
    artgen::releaseFonts();
    juce::Typeface::clearTypefaceCache();
    return result;
}
