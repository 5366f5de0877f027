#include "SettingsFiles.h"

namespace zentak::settingsfiles
{
juce::StringArray newFields()
{
    juce::StringArray f{"2.0.2", "-1", "-1", "-1", "100", "0", "", "", "1"};
    while (f.size() < numFields)
        f.add("0");
    f.set(recallField, "on"); // a new file sends the project's sound when it opens
    return f;
}

juce::StringArray parseFields(const juce::String& text)
{
    juce::StringArray found;
    if (text.length() >= 6)
    {
        int p = 0;
        for (;;)
        {
            const int b = text.indexOf(p, "^|");
            const int e = text.indexOf(p, "|^");
            if (b < 0 || e < 0)
                break;
            found.add(b + 2 <= e ? text.substring(b + 2, e) : juce::String());
            p = e + 1;
        }
    }
    juce::StringArray fields;
    if (found.size() > 2)
        for (int i = 0; i < juce::jmin(numFields, found.size()); ++i)
            fields.add(found[i]);
    else
        fields = newFields();
    while (fields.size() < numFields)
        fields.add("0");
    return fields;
}

juce::String formatFields(const juce::StringArray& fields)
{
    juce::String out;
    for (const auto& f : fields)
        out << "^|" << f << "|^";
    return out;
}

juce::MemoryBlock formatPortNames(const juce::StringArray& names)
{
    juce::MemoryBlock out;
    const juce::uint8 markers[] = {0x0F, 0x10, 0x11};
    for (int i = 0; i < 3; ++i)
    {
        const auto utf8 = names[i].toStdString();
        out.append(utf8.data(), utf8.size());
        out.append(&markers[i], 1);
    }
    return out;
}

bool parsePortNames(const juce::MemoryBlock& file, juce::String& input, juce::String& output, bool& hasOutput)
{
    hasOutput = false;
    if (file.getSize() < 3)
        return false;
    const auto* d = static_cast<const char*>(file.getData());
    const int n = (int)file.getSize();
    int inputEnd = -1, outputEnd = -1;
    for (int i = 0; i < n; ++i)
    {
        if (d[i] == 0x0F)
            inputEnd = i;
        else if (d[i] == 0x10)
            outputEnd = i;
    }
    if (inputEnd <= 0 || outputEnd <= 0)
        return false;
    input = juce::String::fromUTF8(d, inputEnd);
    if (outputEnd > inputEnd)
    {
        output = juce::String::fromUTF8(d + inputEnd + 1, outputEnd - inputEnd - 1);
        hasOutput = true;
    }
    return true;
}

bool replaceFile(const juce::File& target, const void* data, size_t size)
{
    if (!target.getParentDirectory().createDirectory())
        return false;
    juce::TemporaryFile temp(target, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out(temp.getFile());
        if (!out.openedOk() || !out.write(data, size))
            return false;
        out.flush();
        if (out.getStatus().failed())
            return false;
    }
    return temp.overwriteTargetFileWithTemporary();
}

bool readWholeFile(const juce::File& file, juce::MemoryBlock& data, juce::int64 maxBytes)
{
    data.reset();
    juce::FileInputStream in(file);
    if (!in.openedOk())
        return false;
    const auto length = in.getTotalLength();
    if (length < 0 || length > maxBytes)
        return false;
    data.setSize((size_t)length);
    return in.read(data.getData(), (int)length) == (int)length && in.getStatus().wasOk();
}

juce::File freeBackupName(const juce::File& name)
{
    if (!name.exists())
        return name;
    for (int n = 2; n < 10000; ++n)
    {
        const auto candidate = name.getSiblingFile(name.getFileName() + juce::String(n));
        if (!candidate.exists())
            return candidate;
    }
    return {};
}
juce::String contentIdentity(const juce::MemoryBlock& data)
{
    std::uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < data.getSize(); ++i)
    {
        h ^= (std::uint8_t)data[i];
        h *= 1099511628211ull;
    }
    return juce::String::toHexString((juce::int64)h).paddedLeft('0', 16);
}

juce::String readOrigin(const juce::File& folder)
{
    const auto file = folder.getChildFile(originFile);
    return file.existsAsFile() && file.getSize() < 256 ? file.loadFileAsString().trim() : juce::String();
}

void writeOrigin(const juce::File& folder, const juce::String& origin)
{
    const auto text = origin.toStdString();
    replaceFile(folder.getChildFile(originFile), text.data(), text.size());
}
} // namespace zentak::settingsfiles
