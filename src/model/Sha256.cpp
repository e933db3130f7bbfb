#include "model/Sha256.h"

#ifdef __APPLE__
#include <CommonCrypto/CommonDigest.h>

#include <algorithm>

struct Sha256::State {
    CC_SHA256_CTX context;
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    CC_SHA256_Init(&m_state->context);
}

void Sha256::addData(const char *data, qsizetype length)
{
    // CommonCrypto takes 32-bit lengths.
    constexpr qsizetype largest = 1 << 30;
    for (qsizetype done = 0; done < length; done += largest)
        CC_SHA256_Update(&m_state->context, data + done,
                         static_cast<CC_LONG>(std::min(largest, length - done)));
}

QByteArray Sha256::result()
{
    QByteArray digest(CC_SHA256_DIGEST_LENGTH, Qt::Uninitialized);
    CC_SHA256_Final(reinterpret_cast<unsigned char *>(digest.data()), &m_state->context);
    CC_SHA256_Init(&m_state->context);
    return digest;
}
#else
#include <openssl/evp.h>

struct Sha256::State {
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr);
}

void Sha256::addData(const char *data, qsizetype length)
{
    EVP_DigestUpdate(m_state->context, data, static_cast<size_t>(length));
}

QByteArray Sha256::result()
{
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_state->context, reinterpret_cast<unsigned char *>(digest.data()), &length);
    digest.truncate(static_cast<qsizetype>(length));
    EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr);
    return digest;
}
#endif

Sha256::~Sha256() = default;
