// The notification codes the controller state posts to its listeners, and their decoding.
// Constants and pure functions; any thread.
#pragma once

namespace zentak
{

enum NotificationCode : int
{
    CS_PARAM_CHANGED = 0x10000000, // + (index << 8) + value
    CS_EDIT_BUFFER_LOADED = 0x11000000,
    CS_SYNTH_ONLINE = 0x12000000,
    CS_SYNTH_OFFLINE = 0x13000000,
    CS_TRANSFER_DONE = 0x16000000,
    CS_TRANSFER_PROGRESS = 0x17000000, // + (bank << 8) + slot
    CS_PROGRAM_STORED = 0x19000000,
    CS_COMBO_STORED = 0x1B000000,
    CS_NAMES_STORED = 0x1C000000,
    CS_PROGRAM2_STORED = 0x1D000000,
    CS_EDIT_NAME_CHANGED = 0x1E000000,
    CS_COMBO_EDIT_LOADED = 0x1F000000,
    CS_PROGRAM2_EDIT_LOADED = 0x20000000,
    CS_NOTICE = 0x21000000,             // a notice for the user is waiting (MidiCntrState::takeNotices)
    CS_TRANSFER_MISMATCH = 0x22000000,  // + (bank << 8) + slot: a slot read back differs from what was sent
    CS_TRANSFER_VERIFYING = 0x23000000, // a transmit has sent every slot and now reads them back
    CS_EDITOR_COMMAND = 0x24000000,     // an editor command is waiting (MidiCntrState::takeEditorCommands)
    CS_HOST_NOTE_OFF = 0x80,            // MIDI kinds: status of the host message
    CS_HOST_NOTE_ON = 0x90,
    CS_HOST_CONTROLLER = 0xB0,
    CS_HOST_PITCH_BEND = 0xE0,
};

namespace codes
{
constexpr int paramChanged(int index, int value)
{
    return CS_PARAM_CHANGED + (index << 8) + value;
}
constexpr int transferProgress(int bank, int slot)
{
    return CS_TRANSFER_PROGRESS + (bank << 8) + slot;
}

constexpr int transferMismatch(int bank, int slot)
{
    return CS_TRANSFER_MISMATCH + (bank << 8) + slot;
}

constexpr int hostNoteOff(int channel, int note)
{
    return ((0x80 + channel) << 20) + note;
}
constexpr int hostNoteOn(int channel, int note, int velocity)
{
    return ((0x90 + channel) << 20) + (note << 7) + velocity;
}
constexpr int hostController(int channel, int controller, int value)
{
    return ((0xB0 + channel) << 20) + (controller << 7) + value;
}
constexpr int hostPitchBend(int channel, int msb, int lsb)
{
    return ((0xE0 + channel) << 20) + (msb << 7) + lsb;
}

/** True for the four host-MIDI codes (they lie below every other code). */
constexpr bool isHostMidi(int code)
{
    return code > 0 && code < CS_PARAM_CHANGED;
}

/** The kind of a code: the high byte for the controller-state codes; for the host-MIDI codes the
    message status with the channel (1..16) removed, so that channel 16 keeps its own kind. */
constexpr int kind(int code)
{
    if (isHostMidi(code))
        return (((code >> 20) - 1) & 0xF0);
    return code & (int)0xFF000000;
}

/** The channel 1..16 of a host-MIDI code. */
constexpr int hostChannel(int code)
{
    return (((code >> 20) - 1) & 0x0F) + 1;
}

constexpr int paramIndex(int code)
{
    return (code >> 8) & 0xFF;
}
constexpr int paramValue(int code)
{
    return code & 0xFF;
}
} // namespace codes

} // namespace zentak
