#ifndef ACCOUNTSTORE_H
#define ACCOUNTSTORE_H

#include <string>
#include <vector>

// The accounts of the scoring service, kept in one text file of the data
// directory. Passwords are never stored: each line holds a random salt and the
// PBKDF2-HMAC-SHA256 hash of the password with that salt.
//
//   pbkdf2-sha256 <iterations> <salt, hex> <hash, hex> <user name>
//
// The file is read again for every check, so accounts added while the service
// runs are seen at once.
class AccountStore
{
public:
    explicit AccountStore(std::string filePath);

    // True when the file holds the user and the password matches.
    bool verify(const std::string &user, const std::string &password) const;

    // Adds the account, or gives an existing one a new password.
    bool add(const std::string &user, const std::string &password, std::string &error);

    // Why a user name or password cannot be used (empty when it can). The
    // application trims both before sending them, so surrounding white space
    // could never be matched.
    static std::string problemWithUser(const std::string &user);
    static std::string problemWithPassword(const std::string &password);

private:
    struct Account
    {
        unsigned iterations = 0;
        std::string salt;
        std::string hash;
        std::string user;
    };

    bool load(std::vector<Account> &accounts, std::string &error) const;
    static std::string derive(const std::string &password, const std::string &salt, unsigned iterations);

    std::string path;
};

#endif // ACCOUNTSTORE_H
