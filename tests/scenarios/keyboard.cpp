#include "keyboard.h"

#include <stdexcept>
#include <vector>

namespace {

INPUT KeyInput(WORD key, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

void Type(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (const WORD key : chord)
        inputs.push_back(KeyInput(key, false));
    for (auto key = std::rbegin(chord); key != std::rend(chord); ++key)
        inputs.push_back(KeyInput(*key, true));
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw std::runtime_error("SendInput refused the keys");
}
