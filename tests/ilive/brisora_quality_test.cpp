// The quality report: the statistics record as the level of "qualityparam".
#include "brisora_session.h"

namespace brisora_test {
namespace {

using ilive::SdkString;

// The lines that both QoS blocks of the sample print alike.
const std::string kSameQosLines =
    "   encodeType: 0\n"
    "   minQp: 0\n"
    "   maxQp: 0\n"
    "   fectype: 0\n"
    "   iFecPrecent: 0\n"
    "   spFecPrecent: 0\n"
    "   pFecPrecent: 0\n"
    "   iMtu: 0\n"
    "   spMtu: 0\n"
    "   pMtu: 0\n"
    "   iFecMinPkg: 0\n"
    "   spFecMinPkg: 0\n"
    "   pFecMinPkg: 0\n"
    "   iFecMinSize: 0\n"
    "   spFecMinSize: 0\n"
    "   pFecMinSize: 0\n"
    "   gopType: 0\n"
    "   gop: 0\n"
    "   encMode: 0\n";

class BrisoraQuality : public BrisoraInRoom {
 protected:
  std::string report(const ilive::Statistics& stats) {
    EXPECT_TRUE(ilive::standin::statistics(stats));
    const std::vector<air::Event> raised = waitEvents(1);
    EXPECT_EQ(1u, raised.size());
    if (raised.empty()) return "";
    EXPECT_EQ("qualityparam", raised[0].code);
    return raised[0].level;
  }

  static ilive::Statistics sample() {
    ilive::Statistics s;
    s.tickCountBegin = 5000000000ull;
    s.tickCountEnd = 5000000123ull;
    s.avsdkVersion = SdkString("1.8.2");
    s.exeCpuRate = 7;
    s.sysCpuRate = 65535;
    s.networkParams.kbpsSend = 100;
    s.networkParams.isTcp = 1;
    s.networkParams.udtEnable = 0;
    s.networkParams.rtt = 42;
    s.networkParams.interfacePort = 65535;
    s.videoCaptureParam = {640, 480, 15};
    ilive::VideoEncodeStats e;
    e.width = 640;
    e.height = 480;
    e.fps = 15;
    e.bitrate = 800;
    e.gopparam.reffrmInterval = 3;
    e.gopparam.weigth20SLossRate = 9;
    s.videoEncodeParams.push_back(e);
    s.videoSendParam.pkt = 5;
    ilive::VideoDecodeStats d;
    d.width = 320;
    s.videoDecodeParams.push_back(d);
    ilive::VideoRecvStats r;
    r.lossRate = 0.5f;
    r.dwBRR = 7;
    s.videoRecvParams.push_back(r);
    s.isAnchor = 1;
    s.videoMainQosParam.fps = 15;
    s.videoMainQosParam.hw = 1;
    s.audioSendParam.FEC = 2;
    ilive::AudioDecodeStats a;
    a.userId = SdkString("u1");
    a.sampleRate = 48000;
    s.audioDecodeParams.push_back(a);
    s.audioQosParam.fec = 3;
    s.audioQosParam.aecEnable = 1;
    s.audioCategory = 4294967295u;
    return s;
  }
};

TEST_F(BrisoraQuality, ARecordWithOneElementInEachListGives167Lines) {
  const std::string expected =
      "tickCountBegin: 5000000000\n"
      "tickCountEnd: 5000000123\n"
      "avsdkVersion: 1.8.2\n"
      "exeCpuRate: 7\n"
      "sysCpuRate: 65535\n"
      "networkParams:\n"
      "   kbpsSend: 100\n"
      "   lossRateSend: 0\n"
      "   lossRateSendUdt: 0\n"
      "   packetSend: 0\n"
      "   lossModelSend: 0\n"
      "   kbpsRecv: 0\n"
      "   lossRateRecvUdt: 0\n"
      "   lossRateRecv: 0\n"
      "   packetRecv: 0\n"
      "   unsendUdt: 0\n"
      "   interfaceIP: 0\n"
      "   interfacePort: 65535\n"
      "   clientIP: 0\n"
      "   isTcp: 1\n"
      "   lossModelRecv: 0\n"
      "   cpuRateApp: 0\n"
      "   cpuRateSys: 0\n"
      "   rtt: 42\n"
      "   udtSMode: 0\n"
      "   udtRMode: 0\n"
      "   udtSendq: 0\n"
      "   udtRecvq: 0\n"
      "   udtEnable: 0\n"
      "videoCaptureParam:\n"
      "   width: 640\n"
      "   height: 480\n"
      "   fps: 15\n"
      "videoEncodeParams.size: 1\n"
      "videoEncodeParams[0]:\n"
      "   viewType: 0\n"
      "   width: 640\n"
      "   height: 480\n"
      "   fps: 15\n"
      "   bitrate: 800\n"
      "   angle: 0\n"
      "   encodeType: 0\n"
      "   hw: 0\n"
      "   gopparam:\n"
      "      reffrmInterval: 3\n"
      "      encIFrmNum: 0\n"
      "      reqIFrmNum: 0\n"
      "      recvNACKNum: 0\n"
      "      recvFailedFrmInfNum: 0\n"
      "      lossrate2S: 0\n"
      "      weigth20SLossRate: 9\n"
      "videoSendParam:\n"
      "   lossRate: 0\n"
      "   iFec: 0\n"
      "   spFec: 0\n"
      "   pkt: 5\n"
      "   STnSBGainLoss12s: 0\n"
      "   STnSBDecLostMaxConcal12s: 0\n"
      "   STnSBBreakSmallBreakContiPlc12s: 0\n"
      "videoDecodeParams.size: 1\n"
      "videoDecodeParams[0]:\n"
      "   userId: \n"
      "   viewType: 0\n"
      "   width: 320\n"
      "   height: 0\n"
      "   fps: 0\n"
      "   bitrate: 0\n"
      "   hw: 0\n"
      "   codecType: 0\n"
      "   hwdecDelay: 0\n"
      "videoRecvParams.size: 1\n"
      "videoRecvParams[0]:\n"
      "   lossRate: 0.50\n"
      "   dwJitterR: 0\n"
      "   dwBRR: 7\n"
      "isAnchor: 1\n"
      "videoMainQosParam:\n"
      "   width: 0\n"
      "   height: 0\n"
      "   fps: 15\n"
      "   bitrate: 0\n"
      + kSameQosLines +
      "   hw: 1\n"
      "videoAuxQosParam:\n"
      "   width: 0\n"
      "   height: 0\n"
      "   fps: 0\n"
      "   bitrate: 0\n"
      + kSameQosLines +
      "   hw: 0\n"
      "audioCaptureParam:\n"
      "   sampleRate: 0\n"
      "   channelCount: 0\n"
      "audioEncodeParams:\n"
      "   encodeType: 0\n"
      "   encodeBitrate: 0\n"
      "   vad: 0\n"
      "audioSendParam:\n"
      "   lossRate: 0\n"
      "   FEC: 2\n"
      "   jitter: 0\n"
      "   sendBr: 0\n"
      "   sendBrUdt: 0\n"
      "audioDecodeParams.size: 1\n"
      "audioDecodeParams[0]:\n"
      "   userId: u1\n"
      "   decodeType: 0\n"
      "   sampleRate: 48000\n"
      "   channelCount: 0\n"
      "audioRecvParam:\n"
      "   playDelay: 0\n"
      "   lossRate: 0\n"
      "   recvBr: 0\n"
      "audioQosParam:\n"
      "   sampleRate: 0\n"
      "   channelCount: 0\n"
      "   codecType: 0\n"
      "   bitrate: 0\n"
      "   aecEnable: 1\n"
      "   agcEnable: 0\n"
      "   fec: 3\n"
      "   vad: 0\n"
      "   packDuration: 0\n"
      "   recn: 0\n"
      "   recm: 0\n"
      "   audioMtu: 0\n"
      "   jitterMinDelay: 0\n"
      "   jitterMinMaxDelay: 0\n"
      "   jitterMaxMaxDelay: 0\n"
      "   jitterDropScale: 0\n"
      "audioCategory: 4294967295\n";
  const std::string text = report(sample());
  EXPECT_EQ(expected, text);
  EXPECT_EQ(167, std::count(text.begin(), text.end(), '\n'));
  EXPECT_EQ("", console());  // nothing printed
}

TEST_F(BrisoraQuality, EmptyListsPrintOnlyTheirCountLines) {
  ilive::Statistics s = sample();
  s.videoEncodeParams.release();
  s.videoDecodeParams.release();
  s.videoRecvParams.release();
  s.audioDecodeParams.release();
  const std::string text = report(s);
  for (const char* name : {"videoEncodeParams", "videoDecodeParams", "videoRecvParams", "audioDecodeParams"}) {
    EXPECT_NE(std::string::npos, text.find(std::string("\n") + name + ".size: 0\n")) << name;
    EXPECT_EQ(std::string::npos, text.find(std::string(name) + "[")) << name;
  }
  EXPECT_EQ(167 - 17 - 10 - 4 - 5, std::count(text.begin(), text.end(), '\n'));
  EXPECT_NE(std::string::npos, text.find("\nvideoSendParam:\n   lossRate: 0\n"));
  EXPECT_NE(std::string::npos, text.find("\nisAnchor: 1\nvideoMainQosParam:\n"));
}

TEST_F(BrisoraQuality, ASecondEncodeStreamFollowsTheFirstWithItsGopLines) {
  ilive::Statistics s = sample();
  ilive::VideoEncodeStats second;
  second.width = 1280;
  s.videoEncodeParams.push_back(second);
  ilive::VideoRecvStats recv;
  recv.lossRate = 1.0f;
  s.videoRecvParams.push_back(recv);
  const std::string text = report(s);
  EXPECT_NE(std::string::npos, text.find("videoEncodeParams.size: 2\nvideoEncodeParams[0]:\n   viewType: 0\n"));
  EXPECT_NE(std::string::npos,
            text.find("      weigth20SLossRate: 9\nvideoEncodeParams[1]:\n   viewType: 0\n   width: 1280\n"));
  EXPECT_NE(std::string::npos, text.find("videoRecvParams[1]:\n   lossRate: 1.00\n"));
  EXPECT_EQ(167 + 17 + 4, std::count(text.begin(), text.end(), '\n'));
}

TEST_F(BrisoraQuality, BuildingTheReportLeaksNoSdkText) {
  const ilive::Statistics s = sample();
  report(s);
  // The counters are the process's: compare with what they were before.
  const auto before = ilive::standin::allocStats();
  for (int i = 0; i < 3; ++i) report(s);
  const auto after = ilive::standin::allocStats();
  EXPECT_EQ(before.live, after.live);
  EXPECT_EQ(before.wrongFrees, after.wrongFrees);
  EXPECT_EQ(before.doubleFrees, after.doubleFrees);
}

}  // namespace
}  // namespace brisora_test
