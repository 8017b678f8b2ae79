#include "online/VerificationService.h"
#include "TempFolder.h"
#include "net/HttpClient.h"

#include <gtest/gtest.h>

namespace {

TEST(VerificationService, GoesToTheServiceOverHttpsUnlessTheSettingsNameAnotherAddress)
{
    const struct
    {
        const char *settings; // the settings file, none when empty
        const char *root;
    } cases[] = {
        {"", "https://www.travelsky.com"},
        {"[COF]\r\nserver=\r\n", "https://www.travelsky.com"},
        {"[COF]\r\nserver=http://127.0.0.1:8080/\r\n", "http://127.0.0.1:8080"},
    };
    for (const auto &c : cases) {
        const TempFolder folder;
        if (*c.settings)
            folder.write(QStringLiteral("vantrel_cof.ini"), c.settings);
        HttpClient client;
        const VerificationService service(client, folder.path());
        EXPECT_EQ(service.serviceRoot(), QString::fromLatin1(c.root)) << c.settings;
    }
}

} // namespace
