#include "accountstore.h"

#include "atomicfile.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cctype>
#include <sstream>

namespace {
const char *const kScheme = "pbkdf2-sha256";
const unsigned kIterations = 100000;
const size_t kSaltBytes = 16;
const size_t kHashBytes = 32;

std::string toHex(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

bool fromHex(const std::string &hex, std::string &bytes)
{
    if (hex.size() % 2 != 0)
        return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (size_t j = i; j < i + 2; ++j) {
            const char c = hex[j];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= c - '0';
            else if (c >= 'a' && c <= 'f')
                value |= c - 'a' + 10;
            else
                return false;
        }
        bytes += static_cast<char>(value);
    }
    return true;
}

bool hasSurroundingSpace(const std::string &text)
{
    return !text.empty()
        && (std::isspace(static_cast<unsigned char>(text.front())) || std::isspace(static_cast<unsigned char>(text.back())));
}
}

AccountStore::AccountStore(std::string filePath)
    : path(std::move(filePath))
{
}

std::string AccountStore::problemWithUser(const std::string &user)
{
    if (user.empty())
        return "the user name is empty";
    if (hasSurroundingSpace(user))
        return "the user name begins or ends with white space";
    if (user.find_first_of("\r\n") != std::string::npos || user.find('\0') != std::string::npos)
        return "the user name holds a line break";
    return std::string();
}

std::string AccountStore::problemWithPassword(const std::string &password)
{
    if (password.empty())
        return "the password is empty";
    if (hasSurroundingSpace(password))
        return "the password begins or ends with white space";
    return std::string();
}

std::string AccountStore::derive(const std::string &password, const std::string &salt, unsigned iterations)
{
    std::string hash(kHashBytes, '\0');
    const int ok = PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                                     reinterpret_cast<const unsigned char *>(salt.data()), static_cast<int>(salt.size()),
                                     static_cast<int>(iterations), EVP_sha256(), static_cast<int>(hash.size()),
                                     reinterpret_cast<unsigned char *>(&hash[0]));
    return ok == 1 ? hash : std::string();
}

bool AccountStore::load(std::vector<Account> &accounts, std::string &error) const
{
    accounts.clear();
    std::string text;
    if (!AtomicFile::read(path, text)) {
        error = "cannot read " + path;
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string scheme, saltHex, hashHex;
        Account account;
        // The user name is the rest of the line after a single space.
        const bool parsed = (fields >> scheme >> account.iterations >> saltHex >> hashHex) && fields.get() == ' '
            && std::getline(fields, account.user);
        if (!parsed || scheme != kScheme || account.iterations == 0 || !fromHex(saltHex, account.salt)
            || !fromHex(hashHex, account.hash) || account.hash.size() != kHashBytes || account.user.empty()) {
            error = path + ":" + std::to_string(number) + ": malformed account line";
            return false;
        }
        accounts.push_back(account);
    }
    return true;
}

bool AccountStore::verify(const std::string &user, const std::string &password) const
{
    std::vector<Account> accounts;
    std::string error;
    if (!load(accounts, error)) // no file or a malformed one: no account
        accounts.clear();
    const Account *match = nullptr;
    for (const Account &account : accounts) {
        if (!match && account.user == user)
            match = &account;
    }
    // An unknown account costs a derivation as well, with a salt of its own
    // and the usual iterations, so the answer's time does not tell whether the
    // account exists.
    const std::string salt = match ? match->salt : std::string(kSaltBytes, '\0') + user;
    const std::string hash = derive(password, salt, match ? match->iterations : kIterations);
    const std::string &expected = match ? match->hash : hash;
    const bool equal = hash.size() == expected.size() && !hash.empty()
        && CRYPTO_memcmp(hash.data(), expected.data(), hash.size()) == 0;
    return match && equal;
}

bool AccountStore::add(const std::string &user, const std::string &password, std::string &error)
{
    error = problemWithUser(user);
    if (error.empty())
        error = problemWithPassword(password);
    if (!error.empty())
        return false;

    std::vector<Account> accounts;
    std::string existing;
    if (AtomicFile::read(path, existing) && !load(accounts, error))
        return false;

    Account account;
    account.iterations = kIterations;
    account.salt.assign(kSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char *>(&account.salt[0]), static_cast<int>(kSaltBytes)) != 1) {
        error = "no random bytes for the salt";
        return false;
    }
    account.hash = derive(password, account.salt, account.iterations);
    account.user = user;
    if (account.hash.empty()) {
        error = "cannot hash the password";
        return false;
    }

    bool replaced = false;
    for (Account &other : accounts) {
        if (other.user == user) {
            other = account;
            replaced = true;
        }
    }
    if (!replaced)
        accounts.push_back(account);

    std::string text = "# Rumbolo scoring service accounts, one per line:\n"
                       "# pbkdf2-sha256 <iterations> <salt, hex> <hash, hex> <user name>\n";
    for (const Account &a : accounts)
        text += std::string(kScheme) + " " + std::to_string(a.iterations) + " " + toHex(a.salt) + " " + toHex(a.hash)
            + " " + a.user + "\n";
    return AtomicFile::write(path, text, error);
}
