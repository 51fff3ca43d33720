#include "dialogs/elements/ElementNames.h"

namespace {

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

}  // namespace

std::string elementSymbol(std::string_view name) {
    std::string_view symbol = name.substr(0, name.find(' '));
    while (!symbol.empty() && (symbol.back() == ' ' || symbol.back() == '\t'))
        symbol.remove_suffix(1);
    return std::string(symbol);
}

std::vector<std::string> formulaSymbols(std::string_view formula) {
    std::vector<std::string> symbols;
    std::size_t i = 0;
    while (i < formula.size()) {
        if (!isUpper(formula[i])) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < formula.size() && isLower(formula[end])) ++end;
        symbols.emplace_back(formula.substr(i, end - i));
        i = end;
    }
    return symbols;
}

bool isAtom(const CElement& element) {
    return element.text.find("*A") != std::string::npos;
}

bool isMolecule(const CElement& element) {
    return element.text.find("*M") != std::string::npos;
}
