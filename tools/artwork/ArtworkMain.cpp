// Draws the editor's pictures at 1x and 2x and writes them as PNG files, or checks that the
// files in a folder are exactly what it draws (pixel for pixel, and no file more or less):
//
//   vesk_artwork <output folder> [<folder of the DejaVu font files>]
//   vesk_artwork --check <folder> [<folder of the DejaVu font files>]
//
// The output is the same on every run: the drawing uses no clock, no system font lookup and a
// fixed seed for its grain.
#include "Strips.h"

#include <png.h>

#include <iostream>
#include <vector>

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

// 8-bit RGBA, not interlaced, at the strongest zlib level with the filter chosen row by row:
// the 2x pictures are embedded in every plug-in module.
bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! out.openedOk())
        return false;

    auto* png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    auto* info = png != nullptr ? png_create_info_struct (png) : nullptr;
    if (info == nullptr || setjmp (png_jmpbuf (png)))
    {
        png_destroy_write_struct (&png, &info);
        return false;
    }
    png_set_write_fn (png, &out, [] (png_structp p, png_bytep data, png_size_t size)
                      { static_cast<juce::OutputStream*> (png_get_io_ptr (p))->write (data, size); },
                      [] (png_structp) {});
    png_set_IHDR (png, info, (png_uint_32) image.getWidth(), (png_uint_32) image.getHeight(), 8,
                  PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level (png, 9);
    png_set_filter (png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_write_info (png, info);

    std::vector<png_byte> row ((size_t) image.getWidth() * 4);
    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto c = pixels.getPixelColour (x, y);
            auto* p = row.data() + 4 * x;
            p[0] = c.getRed(); p[1] = c.getGreen(); p[2] = c.getBlue(); p[3] = c.getAlpha();
        }
        png_write_row (png, row.data());
    }
    png_write_end (png, info);
    png_destroy_write_struct (&png, &info);
    return true;
}

// Empty when `file` decodes to exactly `image`, else what differs.
juce::String differenceTo (const juce::Image& image, const juce::File& file)
{
    if (! file.existsAsFile())
        return "missing";
    const auto stored = juce::ImageFileFormat::loadFrom (file);
    if (stored.getBounds() != image.getBounds())
        return "is " + juce::String (stored.getWidth()) + " x " + juce::String (stored.getHeight()) + ", not "
               + juce::String (image.getWidth()) + " x " + juce::String (image.getHeight());
    int count = 0;
    juce::String first;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (stored.getPixelAt (x, y) != image.getPixelAt (x, y) && count++ == 0)
                first = " (first at " + juce::String (x) + "," + juce::String (y) + ")";
    return count == 0 ? juce::String() : juce::String (count) + " pixels differ" + first;
}
}

int main (int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: vesk_artwork <output folder> [<font folder>]\n";
        return 2;
    }

    const bool checkOnly = juce::String (argv[1]) == "--check";
    if (checkOnly && argc < 3)
    {
        std::cerr << "usage: vesk_artwork --check <folder> [<font folder>]\n";
        return 2;
    }
    const int firstArgument = checkOnly ? 2 : 1;
    const juce::File outFolder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[firstArgument]));
    const juce::File fontFolder (argc > firstArgument + 1 ? juce::File::getCurrentWorkingDirectory().getChildFile (argv[firstArgument + 1])
                                                          : juce::File ("/usr/share/fonts/truetype/dejavu"));

    artwork::Fonts fonts;
    juce::String error;
    if (! fonts.loadFrom (fontFolder, error))
    {
        std::cerr << error << "(the fonts come with the Debian package fonts-dejavu-core)\n";
        return 1;
    }

    if (! checkOnly && ! outFolder.createDirectory())
    {
        std::cerr << "cannot create " << outFolder.getFullPathName() << "\n";
        return 1;
    }

    juce::StringArray drawn;
    int mismatches = 0;
    for (const int scale : { 1, 2 })
        for (const auto& picture : artwork::renderAllPictures (fonts, scale))
        {
            if (! isOpaque (picture.image))
            {
                std::cerr << picture.fileName << " has transparent pixels\n";
                return 1;
            }
            const auto file = outFolder.getChildFile (picture.fileName);
            drawn.add (picture.fileName);
            if (checkOnly)
            {
                const auto difference = differenceTo (picture.image, file);
                std::cout << picture.fileName << ": " << (difference.isEmpty() ? "as drawn" : difference) << "\n";
                mismatches += difference.isEmpty() ? 0 : 1;
                continue;
            }
            if (! writePng (picture.image, file))
            {
                std::cerr << "cannot write " << file.getFullPathName() << "\n";
                return 1;
            }
            std::cout << file.getFullPathName() << "  " << picture.image.getWidth() << " x " << picture.image.getHeight() << "\n";
        }

    if (checkOnly)
    {
        for (const auto& file : outFolder.findChildFiles (juce::File::findFiles, false, "*.png"))
            if (! drawn.contains (file.getFileName()))
            {
                std::cout << file.getFileName() << ": not drawn by the generator\n";
                ++mismatches;
            }
        std::cout.flush();
        if (mismatches != 0)
        {
            std::cerr << mismatches << " picture(s) differ from the generator; regenerate them with\n"
                      << "  vesk_artwork " << outFolder.getFullPathName() << "\n";
            return 1;
        }
    }
    return 0;
}
