// A simulated multimedia system for the music player: a CD drive with a disc
// of audio tracks, an MP3 device and a sound player, answering command strings
// the way MCI does and logging every call.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/music/music_player.h"

struct FakeMci : MciPort {
    struct Sent {
        std::string Command;
        unsigned ReplyChars;
    };
    struct Sound {
        std::string Name;  // "<none>" for a null name
        unsigned Flags;
    };

    static constexpr int32_t NoDriver = 266;
    static constexpr int32_t NotOpen = 263;
    static constexpr int32_t OutOfRange = 282;
    static constexpr int32_t BadCommand = 274;
    static constexpr int32_t FileNotFound = 275;

    // When set, every buffer offered to the system must lie within one of
    // this player's buffers, with room for as many characters as offered.
    const MusicPlayer* Player = nullptr;

    std::vector<Sent> Log;
    std::vector<Sound> Sounds;

    // Answers that override the models below, by exact command.
    std::map<std::string, std::pair<int32_t, std::string>> Scripted;
    bool TerminateReplies = true;  // false: a reply fills its buffer without a NUL
    bool ErrorTextsKnown = true;
    int32_t WaveDevices = 1;

    // The CD drive.
    bool DrivePresent = true;
    bool CdOpen = false;
    int Tracks = 10;
    int CurrentTrack = 1;
    std::string CdMode = "stopped";
    bool CdModeQueryFails = false;

    // The MP3 device.
    bool FileOpenable = true;
    bool FileOpen = false;
    std::string FileMode;

    // Playback reaches the next track; after the last one the drive stops.
    void NextTrack() {
        if (CurrentTrack < Tracks) {
            ++CurrentTrack;
        } else {
            CdMode = "stopped";
        }
    }

    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        for (const Sent& sent : Log) {
            commands.push_back(sent.Command);
        }
        return commands;
    }

    int32_t SendString(const std::string& command, char* reply, unsigned replyChars) override {
        Log.push_back({command, replyChars});
        ExpectRoomFor(reply, replyChars);
        const auto scripted = Scripted.find(command);
        if (scripted != Scripted.end()) {
            if (scripted->second.first == 0) {
                Write(scripted->second.second, reply, replyChars);
            }
            return scripted->second.first;
        }
        std::string text;
        const int32_t code = command.find("cdaudio") != std::string::npos   ? Cd(command, text)
                             : command.find("MP3Play") != std::string::npos ? File(command, text)
                                                                            : BadCommand;
        if (code == 0) {
            Write(text, reply, replyChars);
        }
        return code;
    }

    bool GetErrorString(int32_t code, char* text, unsigned chars) override {
        ExpectRoomFor(text, chars);
        if (!ErrorTextsKnown) {
            return false;
        }
        std::snprintf(text, chars, "error %d text", static_cast<int>(code));
        return true;
    }

    int32_t WaveOutDeviceCount() override { return WaveDevices; }

    void PlaySoundName(const char* nameOrNull, unsigned flags) override {
        Sounds.push_back({nameOrNull ? nameOrNull : "<none>", flags});
    }

    // Plain ASCII stands in for the ANSI code page.
    std::string ToAnsi(const std::wstring& text) override {
        std::string ansi;
        for (wchar_t c : text) {
            ansi += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return ansi;
    }
    std::wstring FromAnsi(const std::string& text) override {
        std::wstring wide;
        for (char c : text) {
            wide += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
        }
        return wide;
    }

private:
    void ExpectRoomFor(const char* buffer, unsigned chars) const {
        if (Player == nullptr || chars == 0) {
            return;
        }
        const std::pair<const char*, size_t> buffers[] = {{Player->Reply, sizeof Player->Reply},
                                                          {Player->ErrorText, sizeof Player->ErrorText},
                                                          {Player->CdMode, sizeof Player->CdMode},
                                                          {Player->FileStatus, sizeof Player->FileStatus}};
        const auto at = reinterpret_cast<std::uintptr_t>(buffer);
        for (const auto& [start, size] : buffers) {
            const auto begin = reinterpret_cast<std::uintptr_t>(start);
            if (at >= begin && at < begin + size) {
                EXPECT_LE(at + chars, begin + size) << chars << " characters offered in a buffer of " << size;
                return;
            }
        }
        ADD_FAILURE() << "a buffer that is not the player's was offered";
    }

    void Write(const std::string& text, char* reply, unsigned replyChars) const {
        if (replyChars == 0) {
            return;
        }
        if (TerminateReplies) {
            const size_t n = std::min<size_t>(text.size(), replyChars - 1);
            std::memcpy(reply, text.data(), n);
            reply[n] = '\0';
        } else {
            std::memcpy(reply, text.data(), std::min<size_t>(text.size(), replyChars));
        }
    }

    int32_t Cd(const std::string& command, std::string& reply) {
        if (!DrivePresent) {
            return NoDriver;
        }
        if (command == "open cdaudio") {
            CdOpen = true;
            return 0;
        }
        if (!CdOpen) {
            return NotOpen;
        }
        if (command == "set cdaudio time format tmsf") {
            return 0;
        }
        if (command == "status cdaudio current track") {
            reply = std::to_string(CurrentTrack);
            return 0;
        }
        if (command == "status cdaudio number of tracks") {
            reply = std::to_string(Tracks);
            return 0;
        }
        if (command == "status cdaudio mode") {
            if (CdModeQueryFails) {
                return NotOpen;
            }
            reply = CdMode;
            return 0;
        }
        const std::string positionQuery = "status cdaudio position track ";
        if (command.compare(0, positionQuery.size(), positionQuery) == 0) {
            const int track = std::atoi(command.c_str() + positionQuery.size());
            if (track < 1 || track > Tracks) {
                return OutOfRange;
            }
            char position[32];
            std::snprintf(position, sizeof position, "%02d:00:00:00", track);
            reply = position;
            return 0;
        }
        if (command == "play cdaudio") {
            CdMode = "playing";
            return 0;
        }
        const std::string playFrom = "play cdaudio from ";
        if (command.compare(0, playFrom.size(), playFrom) == 0) {
            int track = 0, minutes = 0, seconds = 0, frames = 0;
            char rest = 0;
            if (std::sscanf(command.c_str() + playFrom.size(), "%d:%d:%d:%d%c", &track, &minutes, &seconds, &frames,
                            &rest) != 4 ||
                track < 1 || track > Tracks) {
                return BadCommand;
            }
            CurrentTrack = track;
            CdMode = "playing";
            return 0;
        }
        if (command == "stop cdaudio") {
            CdMode = "stopped";
            return 0;
        }
        if (command == "close cdaudio") {
            CdOpen = false;
            return 0;
        }
        return BadCommand;
    }

    int32_t File(const std::string& command, std::string& reply) {
        const std::string open = "open \"";
        const std::string openEnd = "\" type MPEGVideo Alias MP3Play";
        if (command.size() >= open.size() + openEnd.size() && command.compare(0, open.size(), open) == 0 &&
            command.compare(command.size() - openEnd.size(), openEnd.size(), openEnd) == 0) {
            if (!FileOpenable) {
                return FileNotFound;
            }
            FileOpen = true;
            FileMode = "stopped";
            return 0;
        }
        if (!FileOpen) {
            return NotOpen;
        }
        if (command == "play MP3Play" || command == "play MP3Play from 0") {
            FileMode = "playing";
            return 0;
        }
        if (command == "status MP3Play mode") {
            reply = FileMode;
            return 0;
        }
        if (command == "stop MP3Play") {
            FileMode = "stopped";
            return 0;
        }
        if (command == "close MP3Play") {
            FileOpen = false;
            return 0;
        }
        return BadCommand;
    }
};
