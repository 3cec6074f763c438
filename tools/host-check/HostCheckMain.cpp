// The host check: loads one plug-in binary from disk as a host does and checks what the host
// sees, hears and stores.
//
//   vesk_host_check --format vst|vst3|lv2|aax --plugin PATH --reference PATH
//                   [--uri URI] [--groups identity,audio,state,stress,editor] [--scratch DIR]
//   vesk_host_check --cross-render ... | --cross-compare ...    (see CrossPlatform.cpp)
//   vesk_host_check --scan vst|vst3|lv2                        (see Scan.cpp)
//
// For LV2 the plug-in is found through a scratch home folder whose ~/.lv2 holds the bundle, as
// JUCE's LV2 host scans only the standard folders. Exit code 0 when every check passed.

#include "HostCheck.h"
#include "ScreenGrab.h"

#include <cstdlib>
#include <iostream>

namespace
{
int usage()
{
    std::cerr << "usage: vesk_host_check --format vst|vst3|lv2|aax --plugin PATH --reference PATH [--uri URI] "
                 "[--groups identity,audio,state,stress,editor] [--scratch DIR]\n";
    return 2;
}
}

int main (int argc, char** argv)
{
    using namespace hostcheck;

    if (argc > 1 && (juce::String (argv[1]) == "--cross-render" || juce::String (argv[1]) == "--cross-compare"))
        return runCrossPlatform (argc, argv);
    if (argc > 1 && juce::String (argv[1]) == "--scan")
        return runScan (argc, argv);

    Target target;
    juce::String format, groups = "identity,audio,state,stress,editor", scratch;
    target.lv2Uri = "https://ferrow.example.org/plugins/vesk";
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const juce::String k (argv[i]), v (argv[i + 1]);
        if (k == "--format") format = v;
        else if (k == "--plugin") target.binary = juce::File (juce::File::getCurrentWorkingDirectory().getChildFile (v));
        else if (k == "--reference") target.reference = juce::File (juce::File::getCurrentWorkingDirectory().getChildFile (v));
        else if (k == "--uri") target.lv2Uri = v;
        else if (k == "--groups") groups = v;
        else if (k == "--scratch") scratch = v;
        else return usage();
    }
    if (format == "vst") target.format = Format::vst2;
    else if (format == "vst3") target.format = Format::vst3;
    else if (format == "lv2") target.format = Format::lv2;
    else if (format == "aax") target.format = Format::aax;
    else return usage();
    if (! target.binary.exists() || ! target.reference.existsAsFile())
    {
        std::cerr << "plug-in or reference program not found\n";
        return 2;
    }

    target.scratch = scratch.isNotEmpty() ? juce::File (juce::File::getCurrentWorkingDirectory().getChildFile (scratch))
                                          : juce::File::getSpecialLocation (juce::File::tempDirectory)
                                                .getChildFile ("vesk-host-check-" + format + "-" + juce::String (juce::Time::currentTimeMillis()));
    target.scratch.createDirectory();

    if (target.format == Format::lv2)
    {
        const auto home = target.scratch.getChildFile ("home");
        const auto link = home.getChildFile (".lv2").getChildFile (target.binary.getFileName());
        link.getParentDirectory().createDirectory();
        link.deleteRecursively();
        if (! target.binary.createSymbolicLink (link, true))
        {
            std::cerr << "cannot link the bundle into " << link.getFullPathName() << "\n";
            return 2;
        }
       #ifdef _WIN32
        _putenv_s ("HOME", home.getFullPathName().toRawUTF8());
       #else
        setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
       #endif
    }

    prepareXlibForHosting();

    int failures = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        const auto wanted = juce::StringArray::fromTokens (groups, ",", {});

        if (target.format == Format::aax && wanted.contains ("identity"))
        {
            checkAaxModule (target);
           #if ! JUCE_WINDOWS
            checkAaxHostCalls (target);
           #endif
        }
       #if ! JUCE_WINDOWS
        if (target.format == Format::aax && wanted.contains ("editor"))
            checkAaxEditorCalls (target);
       #endif

        juce::String error;
        auto loader = makeLoader (target, error);
        if (! report().expect (loader != nullptr, formatName (target.format) + " plug-in loads from " + target.binary.getFullPathName()
                                                      + (error.isEmpty() ? juce::String() : " (" + error + ")")))
            return 1;

        if (wanted.contains ("identity")) checkIdentity (target, *loader);
        if (wanted.contains ("audio")) checkAudio (target, *loader);
        if (wanted.contains ("state")) checkState (target, *loader);
        if (wanted.contains ("stress")) checkStress (target, *loader);
        if (wanted.contains ("editor")) checkEditor (target, *loader);

        failures = report().failures();
        loader.reset();
    }

    // The scratch folder holds what a failed check left for inspection.
    if (scratch.isEmpty() && failures == 0)
        target.scratch.deleteRecursively();

    std::cout << "\n" << (failures == 0 ? "all checks passed" : juce::String (failures) + " checks failed") << std::endl;
    return failures == 0 ? 0 : 1;
}
