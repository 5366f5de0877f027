// zentak-lib: the command-line librarian. Finds the programs in SysEx captures, MIDI files, our own
// single-program, bank and data-image files, and lists, compares, extracts and packs them. Input files
// are never modified; outputs are written whole.
#include "LibCommands.h"

#include <iostream>

using namespace zentak::cli;

namespace
{
struct Verb
{
    const char* name;
    const char* arguments;
    const char* summary;
    const char* details;
    int (*run)(const juce::ArgumentList&);
};

const Verb kVerbs[] = {
    {"list", "FILE|FOLDER...", "Lists the programs found: index, bank:slot, name, category.",
     "Each file is read whole; a folder stands for the library files inside it (.syx,\n"
     ".mid, .midi, .evp, .ebp, .evl), searched recursively. The index is the one that\n"
     "extract --index and diff FILE#N take. bank:slot is shown 1-based as the\n"
     "instrument shows it (A:001 .. D:128); \"edit\" marks an edit-buffer dump.\n"
     "Exit code 1 when a file cannot be read or no program is found.",
     runList},
    {"info", "FILE|FOLDER...", "Tells what each file holds, what was skipped, and why.",
     "For each file: its kind, the programs found, every byte accounted for by what\n"
     "it belongs to (programs, names, combos, other instruments' messages, bytes\n"
     "between messages, ...), and the warnings: truncated or oversized messages,\n"
     "programs without a name message, names without a program.\n"
     "Exit code 1 when a file cannot be read or no program is found.",
     runInfo},
    {"extract", "FILE --index N -o OUT [--force]",
     "Writes program N of FILE as a single-program file (.syx).",
     "The file holds one edit-buffer dump (226 bytes). It carries no name: the\n"
     "plug-in names a single program after its file, so choose OUT accordingly.\n"
     "An existing OUT is replaced only with --force.",
     runExtract},
    {"bank", "FILE|FOLDER... -o OUT [--bank A|B|C|D] [--start N] [--unique] [--force]",
     "Packs up to 128 programs, in order, into a program bank file.",
     "Programs are taken in the order list shows them, from program --start (1-based,\n"
     "default 1) on; --unique leaves out programs whose 192 parameter bytes repeat\n"
     "an earlier one. Slots left over hold the initial program \"Untitled\". The\n"
     "messages name bank --bank (default A). Programs beyond the 128th are left out\n"
     "and counted. An existing OUT is replaced only with --force.",
     runBank},
    {"image", "FILE|FOLDER... -o OUT [--start N] [--unique] [--force]",
     "Packs up to 512 programs into a data image (.evl) of banks A to D.",
     "Programs fill bank A slot 1 on, then banks B, C and D, as bank does; slots left\n"
     "over hold the initial program. The image's combo banks and user wave shapes\n"
     "are those of the first factory set. An existing OUT is replaced only with\n"
     "--force.",
     runImage},
    {"diff", "A B", "Compares two programs parameter by parameter.",
     "A and B are FILE (a file holding one program) or FILE#N (program N as list\n"
     "shows it). Prints the name if it differs, then each differing parameter with\n"
     "its number, name and the two values as the editor shows them. Prints nothing\n"
     "for two equal programs.",
     runDiff},
    {"dupes", "FILE|FOLDER... [--within N]", "Finds programs with identical parameters, and near-duplicates.",
     "Programs whose 192 parameter bytes are identical are the same sound, whatever\n"
     "their names; each group is printed with its members. With --within N, pairs of\n"
     "different sounds that differ in at most N parameters are printed as well,\n"
     "with the parameters that differ.",
     runDupes},
};

juce::ConsoleApplication makeApp()
{
    juce::ConsoleApplication app;
    for (const auto& v : kVerbs)
    {
        juce::ConsoleApplication::Command c;
        c.commandOption = v.name;
        c.argumentDescription = juce::String(v.name) + " " + v.arguments;
        c.shortDescription = v.summary;
        c.longDescription = v.details;
        c.command = [](const juce::ArgumentList&) {}; // main runs the verbs, to keep their exit codes
        app.addCommand(std::move(c));
    }
    return app;
}

void usage(const juce::ConsoleApplication& app, const juce::ArgumentList& args)
{
    std::cout << "zentak-lib: a librarian for Evolver programs in SysEx and MIDI files." << std::endl
              << "Usage:" << std::endl;
    app.printCommandList(args);
    std::cout << "'zentak-lib VERB --help' tells more about a verb. Exit codes: 0 done, 1 input rejected"
              << std::endl
              << "or nothing found, 2 usage." << std::endl;
}
} // namespace

int main(int argc, char* argv[])
{
    const auto app = makeApp();
    const juce::ArgumentList args(argc, argv);

    if (args.size() == 0)
    {
        std::cerr << "zentak-lib: a verb is needed; 'zentak-lib --help' lists them." << std::endl;
        return exitUsage;
    }
    const auto first = args[0].text;
    if (first == "--help" || first == "-h" || first == "help")
    {
        usage(app, args);
        return 0;
    }
    if (first == "--version")
    {
        std::cout << "zentak-lib " << ZENTAK_VERSION << std::endl;
        return 0;
    }
    for (size_t i = 0; i < std::size(kVerbs); ++i)
    {
        if (first != kVerbs[i].name)
            continue;
        if (args.containsOption("--help|-h"))
        {
            app.printCommandDetails(args, app.getCommands()[i]);
            return 0;
        }
        return juce::ConsoleApplication::invokeCatchingFailures([&] { return kVerbs[i].run(args); });
    }
    std::cerr << "zentak-lib: unknown verb '" << first << "'; 'zentak-lib --help' lists them." << std::endl;
    return exitUsage;
}
