#pragma once
#include <stdexcept>
#include <string>

// A refused profile write; the message names the file as it was passed.
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The INI file class over the private profile service. It holds nothing but
// the file name; every call goes to the service at once, and releasing the
// object asks the service to flush.
class TIniFile {
public:
    explicit TIniFile(std::string fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    // At most 2047 bytes, as the 2048-byte read buffer allows.
    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& ident, int def) const;
    bool ReadBool(const std::string& section, const std::string& ident, bool def) const;

    // Raise EIniFileException "Unable to write to <file name>" when the service refuses.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

private:
    std::string fileName_;
};
