// Draws the editor's pictures and writes them as PNG files:
//
//   vesk_artwork <output folder> [<folder of the DejaVu font files>]
//
// The output is the same on every run: the drawing uses no clock, no system font lookup and a
// fixed seed for its grain.
#include "Strips.h"

#include <iostream>

namespace
{
bool isOpaque (const juce::Image& image)
{
    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            if (pixels.getPixelColour (x, y).getAlpha() != 255)
                return false;
    return true;
}

bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! out.openedOk())
        return false;
    juce::PNGImageFormat png;
    return png.writeImageToStream (image, out);
}
}

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: vesk_artwork <output folder> [<font folder>]\n";
        return 2;
    }

    const juce::File outFolder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    const juce::File fontFolder (argc > 2 ? juce::File::getCurrentWorkingDirectory().getChildFile (argv[2])
                                          : juce::File ("/usr/share/fonts/truetype/dejavu"));

    artwork::Fonts fonts;
    juce::String error;
    if (! fonts.loadFrom (fontFolder, error))
    {
        std::cerr << error << "(the fonts come with the Debian package fonts-dejavu-core)\n";
        return 1;
    }

    if (! outFolder.createDirectory())
    {
        std::cerr << "cannot create " << outFolder.getFullPathName() << "\n";
        return 1;
    }

    for (const auto& picture : artwork::renderAllPictures (fonts))
    {
        if (! isOpaque (picture.image))
        {
            std::cerr << picture.fileName << " has transparent pixels\n";
            return 1;
        }
        const auto file = outFolder.getChildFile (picture.fileName);
        if (! writePng (picture.image, file))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return 1;
        }
        std::cout << file.getFullPathName() << "  " << picture.image.getWidth() << " x " << picture.image.getHeight() << "\n";
    }
    return 0;
}
