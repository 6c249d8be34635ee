// Writes the battle's music, Data/Sounds/GameMusic.ogg: a four-second intro
// of a slow pad, then an eight-second loop of bass, chords and a pulse over
// it, as Ogg Vorbis so that the game can start the loop again from its
// position. The same program gives the same file. Run by Tools/make_data.sh
// from the repository root.
#include <cmath>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <vorbis/vorbisenc.h>

namespace
{

const int Rate = 22050;
const double Pi = 3.14159265358979;
const double IntroSeconds = 4.0;
const double LoopSeconds = 8.0;
const double BeatSeconds = 0.5;

// The chords of the loop, one per two seconds, as frequencies in Hz.
const double Chords[4][3] = {
    {110.0, 164.8, 261.6}, {87.3, 130.8, 220.0}, {98.0, 146.8, 246.9}, {82.4, 123.5, 207.7}};

double Pad(double t, const double (&chord)[3])
{
    double sum = 0;
    for (const double frequency : chord)
        sum += std::sin(2 * Pi * frequency * 2 * t) + 0.3 * std::sin(2 * Pi * frequency * 4.01 * t);
    return sum / 3;
}

double Sample(double t)
{
    if (t < IntroSeconds)
    {
        const double swell = t / IntroSeconds;
        return 0.25 * swell * Pad(t, Chords[0]);
    }
    const double inLoop = std::fmod(t - IntroSeconds, LoopSeconds);
    const double (&chord)[3] = Chords[static_cast<int>(inLoop / 2) % 4];
    const double beat = std::fmod(inLoop, BeatSeconds);
    const double bass = std::sin(2 * Pi * chord[0] * t) * std::exp(-beat * 5);
    const double pulse = std::sin(2 * Pi * chord[2] * 4 * t) * std::exp(-beat * 30);
    return 0.25 * Pad(t, chord) + 0.35 * bass + 0.1 * pulse;
}

bool WritePages(ogg_stream_state& stream, std::FILE* file, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page))
    {
        if (std::fwrite(page.header, 1, page.header_len, file) != std::size_t(page.header_len) ||
            std::fwrite(page.body, 1, page.body_len, file) != std::size_t(page.body_len))
            return false;
    }
    return true;
}

} // namespace

int main()
{
    const char* const path = "Data/Sounds/GameMusic.ogg";
    std::FILE* const file = std::fopen(path, "wb");
    if (!file)
    {
        std::fprintf(stderr, "make_music: cannot write %s\n", path);
        return 1;
    }
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, Rate, 0.2f) != 0)
    {
        std::fprintf(stderr, "make_music: the encoder refuses the settings\n");
        return 1;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 280);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    bool written = WritePages(stream, file, true);

    const int total = static_cast<int>((IntroSeconds + LoopSeconds) * Rate);
    const int chunk = 1024;
    for (int start = 0; start <= total && written; start += chunk)
    {
        const int count = std::min(chunk, total - start);
        if (count > 0)
        {
            float** const buffer = vorbis_analysis_buffer(&dsp, count);
            for (int i = 0; i < count; ++i)
                buffer[0][i] = static_cast<float>(Sample(static_cast<double>(start + i) / Rate));
        }
        vorbis_analysis_wrote(&dsp, count > 0 ? count : 0);
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                ogg_stream_packetin(&stream, &packet);
                written = written && WritePages(stream, file, false);
            }
        }
        if (count <= 0)
            break;
    }
    written = written && WritePages(stream, file, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    if (std::fclose(file) != 0 || !written)
    {
        std::fprintf(stderr, "make_music: writing %s failed\n", path);
        return 1;
    }
    return 0;
}
