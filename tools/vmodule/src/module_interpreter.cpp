#include "tools/vmodule/src/module_interpreter.h"

#include <algorithm>

namespace vmodule {

namespace {

constexpr unsigned char kDotMask = 0x1F;

DisplayGeometry BoundedGeometry(DisplayGeometry geometry) {
    return {std::clamp(geometry.rows, 1, kMaxRows), std::clamp(geometry.columns, 1, kMaxColumns)};
}

TextGrid BlankGrid() {
    TextGrid grid{};
    for (auto& row : grid) row.fill(' ');
    return grid;
}

CharacterRows DotRows(std::span<const unsigned char> bytes) {
    CharacterRows rows{};
    for (int i = 0; i < kCharacterRowCount; ++i) rows[i] = bytes[i] & kDotMask;
    return rows;
}

}  // namespace

ModuleInterpreter::ModuleInterpreter(DisplayGeometry geometry)
    : geometry_(BoundedGeometry(geometry)), display_(BlankGrid()) {}

void ModuleInterpreter::Feed(std::span<const unsigned char> bytes) {
    for (unsigned char byte : bytes) Feed(byte);
}

void ModuleInterpreter::Feed(unsigned char byte) {
    ++bytesReceived_;
    switch (phase_) {
        case Phase::Text:
            if (byte == kCommandPrefix)
                phase_ = Phase::Command;
            else
                WriteCharacter(byte);
            break;
        case Phase::Command:
            // A repeated prefix starts the command over, which lets a sender resynchronise.
            if (byte != kCommandPrefix) BeginCommand(byte);
            break;
        case Phase::Arguments:
            TakeArgument(byte);
            break;
        case Phase::StoredText:
            TakeStoredText(byte);
            break;
    }
}

bool ModuleInterpreter::CommandIncomplete() const {
    return phase_ != Phase::Text;
}

void ModuleInterpreter::AbandonIncompleteCommand() {
    phase_ = Phase::Text;
}

void ModuleInterpreter::PowerCycle() {
    AbandonIncompleteCommand();
    display_ = BlankGrid();
    for (int row = 0; row < geometry_.rows; ++row)
        for (int column = 0; column < geometry_.columns; ++column) display_[row][column] = store_.text[row][column];
    userCharacters_ = store_.characters;
    cursor_ = {0, 0};
}

void ModuleInterpreter::LoadStore(const NonVolatileStore& store) {
    store_ = NonVolatileStore{};
    for (int code = 0; code < kUserCharacterCount; ++code) store_.characters[code] = DotRows(store.characters[code]);
    for (int row = 0; row < geometry_.rows; ++row)
        for (int column = 0; column < geometry_.columns; ++column) store_.text[row][column] = store.text[row][column];
    ++storeRevision_;
}

void ModuleInterpreter::BeginCommand(unsigned char command) {
    command_ = command;
    argumentCount_ = 0;
    switch (command) {
        case kDefineCharacter:
        case kStoreCharacter:
            argumentsNeeded_ = 1 + kCharacterRowCount;
            phase_ = Phase::Arguments;
            break;
        case kPlaceCursor:
            argumentsNeeded_ = 2;
            phase_ = Phase::Arguments;
            break;
        case kStoreText:
            storedTextIndex_ = 0;
            phase_ = Phase::StoredText;
            break;
        default:
            phase_ = Phase::Text;
            break;
    }
}

void ModuleInterpreter::TakeArgument(unsigned char byte) {
    arguments_[argumentCount_++] = byte;
    if (argumentCount_ < argumentsNeeded_) return;
    phase_ = Phase::Text;
    RunCommand();
}

void ModuleInterpreter::RunCommand() {
    const std::span<const unsigned char> arguments(arguments_.data(), argumentCount_);
    switch (command_) {
        case kDefineCharacter:
            if (arguments[0] < kUserCharacterCount) userCharacters_[arguments[0]] = DotRows(arguments.subspan(1));
            break;
        case kStoreCharacter:
            if (arguments[0] < kUserCharacterCount) {
                store_.characters[arguments[0]] = DotRows(arguments.subspan(1));
                ++storeRevision_;
            }
            break;
        case kPlaceCursor:
            cursor_.column = std::clamp(int{arguments[0]}, 1, geometry_.columns) - 1;
            cursor_.row = std::clamp(int{arguments[1]}, 1, geometry_.rows) - 1;
            break;
        default:
            break;
    }
}

void ModuleInterpreter::TakeStoredText(unsigned char byte) {
    const int row = storedTextIndex_ / geometry_.columns;
    const int column = storedTextIndex_ % geometry_.columns;
    store_.text[row][column] = byte;
    ++storeRevision_;
    if (++storedTextIndex_ == TextCellCount()) phase_ = Phase::Text;
}

void ModuleInterpreter::WriteCharacter(unsigned char code) {
    display_[cursor_.row][cursor_.column] = code;
    if (++cursor_.column < geometry_.columns) return;
    cursor_.column = 0;
    if (++cursor_.row == geometry_.rows) cursor_.row = 0;
}

}  // namespace vmodule
