-- favor.db: the web phone book that ships with the program, a few well-known sites in
-- each category (kind_serial as in kind.db; category 10, "我的最愛", starts empty).
CREATE TABLE "favor" (
    "Index" INTEGER PRIMARY KEY AUTOINCREMENT,
    "BSchedule" BOOLEAN,
    "KIND_SERIAL" INTEGER,
    "ALIAS" VARCHAR(30),
    "URL" VARCHAR(50),
    "DESCRIPTION" VARCHAR(255)
);
CREATE UNIQUE INDEX "Index" ON "favor" ("Index");
CREATE INDEX "URL1" ON "favor" ("URL" COLLATE NOCASE);
CREATE INDEX "URL2" ON "favor" ("URL" COLLATE NOCASE DESC);
CREATE INDEX "Alias1" ON "favor" ("ALIAS" COLLATE NOCASE);
CREATE INDEX "Alias2" ON "favor" ("ALIAS" COLLATE NOCASE DESC);

INSERT INTO "favor" ("BSchedule", "KIND_SERIAL", "ALIAS", "URL", "DESCRIPTION") VALUES
    -- 1 工商產業
    (0, 1, '經濟部', 'http://www.moea.gov.tw/', '經濟部全球資訊網,提供產業政策、商業登記、投資與經貿統計資訊。'),
    (0, 1, '臺灣證券交易所', 'http://www.twse.com.tw/', '上市公司股票行情、交易資訊、公開資訊與證券市場統計。'),
    (0, 1, '中華民國對外貿易發展協會', 'http://www.taitra.org.tw/', '外貿協會,推廣臺灣產品外銷、舉辦國際展覽與商機媒合。'),
    (0, 1, '財政部', 'http://www.mof.gov.tw/', '財政部全球資訊網,賦稅、關務、國庫與財政統計資料。'),
    (0, 1, '中華民國全國工業總會', 'http://www.cnfi.org.tw/', '全國工業總會,工業界的產業公會組織與產業政策建言。'),
    (0, 1, '台灣積體電路製造公司', 'http://www.tsmc.com/', '台積電,全球最大的專業積體電路製造服務公司。'),
    (0, 1, '台塑企業', 'http://www.fpg.com.tw/', '台塑關係企業,石化、塑膠、紡織與電子材料等產業。'),
    -- 2 生活資訊
    (0, 2, '交通部中央氣象署', 'http://www.cwa.gov.tw/', '天氣預報、颱風警報、地震報告與各地即時觀測資料。'),
    (0, 2, '臺灣鐵路', 'http://www.railway.gov.tw/', '臺鐵列車時刻表查詢、網路訂票與車站旅運資訊。'),
    (0, 2, '台灣高鐵', 'http://www.thsrc.com.tw/', '台灣高速鐵路時刻表、票價查詢與線上訂票。'),
    (0, 2, '中華郵政', 'http://www.post.gov.tw/', '郵件查詢、郵遞區號、郵局儲匯與集郵資訊。'),
    (0, 2, '台灣電力公司', 'http://www.taipower.com.tw/', '台電電費查詢、停電公告、用電資訊與節約能源。'),
    (0, 2, '台灣自來水公司', 'http://www.water.gov.tw/', '水費查詢、停水公告、水質資訊與用水服務。'),
    (0, 2, '交通部公路局', 'http://www.thb.gov.tw/', '公路路況、監理服務、駕照與車輛相關業務。'),
    -- 3 休閒育樂
    (0, 3, '臺灣觀光資訊網', 'http://www.taiwan.net.tw/', '交通部觀光署的旅遊網站,景點、節慶活動、住宿與交通。'),
    (0, 3, '國家公園', 'http://www.nps.gov.tw/', '臺灣各國家公園的簡介、生態、遊憩與入園申請資訊。'),
    (0, 3, '臺北市立動物園', 'http://www.zoo.gov.taipei/', '動物園的園區導覽、動物介紹、開放時間與活動消息。'),
    (0, 3, '台灣山林悠遊網', 'http://recreation.forest.gov.tw/', '國家森林遊樂區、自然步道與山屋資訊。'),
    (0, 3, '中華職業棒球大聯盟', 'http://www.cpbl.com.tw/', '中華職棒賽程、比賽結果、球隊與球員資料。'),
    (0, 3, '國立海洋生物博物館', 'http://www.nmmba.gov.tw/', '位於屏東車城的海生館,展示臺灣水域與世界海洋生物。'),
    -- 4 社會文化
    (0, 4, '文化部', 'http://www.moc.gov.tw/', '文化部全球資訊網,文化政策、藝文補助與文化資產。'),
    (0, 4, '中央通訊社', 'http://www.cna.com.tw/', '中央社即時新聞,國內外政治、社會、財經與文化報導。'),
    (0, 4, '公共電視', 'http://www.pts.org.tw/', '公共電視台的節目、新聞與紀錄片資訊。'),
    (0, 4, '客家委員會', 'http://www.hakka.gov.tw/', '客家語言、文化與產業的推廣和保存。'),
    (0, 4, '原住民族委員會', 'http://www.cip.gov.tw/', '原住民族政策、族群文化介紹與相關福利服務。'),
    (0, 4, '國史館', 'http://www.drnh.gov.tw/', '國家歷史的史料典藏、研究出版與展覽。'),
    (0, 4, '內政部', 'http://www.moi.gov.tw/', '戶政、地政、役政、民政與社會治安等業務資訊。'),
    -- 5 科學
    (0, 5, '中央研究院', 'http://www.sinica.edu.tw/', '國家最高學術研究機構,數理、生命與人文社會科學研究。'),
    (0, 5, '國家科學及技術委員會', 'http://www.nstc.gov.tw/', '國科會,科學技術政策、研究計畫補助與科學園區。'),
    (0, 5, '國立自然科學博物館', 'http://www.nmns.edu.tw/', '位於臺中的科博館,自然史、生命科學與天文展示。'),
    (0, 5, '國立科學工藝博物館', 'http://www.nstm.gov.tw/', '位於高雄的科工館,應用科學與工業技術展示。'),
    (0, 5, '國家實驗研究院', 'http://www.narlabs.org.tw/', '國研院,科技研發平台與各國家實驗室。'),
    (0, 5, '臺北市立天文科學教育館', 'http://www.tam.gov.taipei/', '天文展示、宇宙劇場、天象預報與觀星活動。'),
    (0, 5, '國立臺灣科學教育館', 'http://www.ntsec.gov.tw/', '科學教育展覽、科學展覽競賽與科普推廣。'),
    -- 6 國家
    (0, 6, '中華民國總統府', 'http://www.president.gov.tw/', '總統府新聞稿、總統行程、憲政與參觀資訊。'),
    (0, 6, '行政院', 'http://www.ey.gov.tw/', '行政院全球資訊網,政策說明、施政重點與院會新聞。'),
    (0, 6, '外交部', 'http://www.mofa.gov.tw/', '外交政策、駐外館處與國際合作資訊。'),
    (0, 6, '外交部領事事務局', 'http://www.boca.gov.tw/', '護照申辦、簽證、文件證明與出國旅遊安全資訊。'),
    (0, 6, '立法院', 'http://www.ly.gov.tw/', '立法院議事、法案進度、委員會與立法委員資料。'),
    (0, 6, '司法院', 'http://www.judicial.gov.tw/', '法學資料檢索、裁判書查詢與各級法院資訊。'),
    (0, 6, '美國在台協會', 'http://www.ait.org.tw/', '美國在台協會,赴美簽證、美國公民服務與臺美關係。'),
    -- 7 教育事業
    (0, 7, '教育部', 'http://www.edu.tw/', '教育部全球資訊網,教育政策、升學制度與教育統計。'),
    (0, 7, '國立臺灣大學', 'http://www.ntu.edu.tw/', '臺灣大學的系所、招生、研究與校園資訊。'),
    (0, 7, '國立清華大學', 'http://www.nthu.edu.tw/', '位於新竹的清華大學,理工、人文與社會科學系所。'),
    (0, 7, '國立陽明交通大學', 'http://www.nycu.edu.tw/', '陽明交大,電子資訊、生醫與管理等領域的研究型大學。'),
    (0, 7, '國立成功大學', 'http://www.ncku.edu.tw/', '位於臺南的成功大學,工學、醫學與人文社會系所。'),
    (0, 7, '國立政治大學', 'http://www.nccu.edu.tw/', '政治大學,人文、社會科學、傳播與商學系所。'),
    (0, 7, '國家圖書館', 'http://www.ncl.edu.tw/', '館藏目錄查詢、博碩士論文與期刊文獻資料。'),
    (0, 7, '大學入學考試中心', 'http://www.ceec.edu.tw/', '學科能力測驗、分科測驗的考試資訊與試題。'),
    -- 8 醫療保健
    (0, 8, '衛生福利部', 'http://www.mohw.gov.tw/', '衛生福利政策、醫療照護、社會福利與長期照顧。'),
    (0, 8, '衛生福利部疾病管制署', 'http://www.cdc.gov.tw/', '傳染病防治、疫苗接種、疫情資訊與國際旅遊防疫。'),
    (0, 8, '衛生福利部中央健康保險署', 'http://www.nhi.gov.tw/', '全民健康保險的投保、給付與醫療院所查詢。'),
    (0, 8, '衛生福利部國民健康署', 'http://www.hpa.gov.tw/', '健康促進、癌症篩檢、菸害防制與婦幼保健。'),
    (0, 8, '衛生福利部食品藥物管理署', 'http://www.fda.gov.tw/', '食品安全、藥品與醫療器材的管理和查詢。'),
    (0, 8, '臺大醫院', 'http://www.ntuh.gov.tw/', '國立臺灣大學醫學院附設醫院,門診掛號與醫療服務。'),
    (0, 8, '臺北榮民總醫院', 'http://www.vghtpe.gov.tw/', '臺北榮總的門診時刻、網路掛號與衛教資訊。'),
    (0, 8, '長庚紀念醫院', 'http://www.cgmh.org.tw/', '長庚醫療體系各院區的門診、掛號與健康資訊。'),
    -- 9 藝文
    (0, 9, '國立故宮博物院', 'http://www.npm.gov.tw/', '故宮的典藏文物、展覽資訊、參觀導覽與數位典藏。'),
    (0, 9, '國家兩廳院', 'http://npac-ntch.org/', '國家戲劇院與國家音樂廳的節目、售票與藝文活動。'),
    (0, 9, '臺北市立美術館', 'http://www.tfam.museum/', '北美館的現代與當代藝術展覽及教育推廣。'),
    (0, 9, '國立臺灣美術館', 'http://www.ntmofa.gov.tw/', '位於臺中的國美館,臺灣美術展覽與典藏。'),
    (0, 9, '國立臺灣文學館', 'http://www.nmtl.gov.tw/', '臺灣文學的史料典藏、研究、展覽與推廣。'),
    (0, 9, '國立歷史博物館', 'http://www.nmh.gov.tw/', '史博館的文物典藏、展覽與歷史文化教育。'),
    (0, 9, '雲門舞集', 'http://www.cloudgate.org.tw/', '林懷民創辦的現代舞團,演出節目與舞蹈教室。'),
    (0, 9, '國家文化藝術基金會', 'http://www.ncafroc.org.tw/', '國藝會,藝文補助、藝術創作與表演藝術推廣。');
