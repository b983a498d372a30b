#include "pack/text_file.h"

Text decodeTextFile(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return Text(std::move(units));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) return Text::fromUtf8(bytes.substr(3));
    return Text::fromUtf8(bytes);
}
